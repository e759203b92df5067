	dc.w	$0180,$0fff
	dc.w	$ffff,$fffe
