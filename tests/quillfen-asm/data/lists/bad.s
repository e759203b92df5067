	dc.w	$0180,$0fff
	dc.w	COLOR00,(1+2
