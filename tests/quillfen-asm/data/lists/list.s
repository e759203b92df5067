list:	dc.w	$0180,$0502
	dc.w	$9601,$ff00	; line 150
	dc.l	$3fd37ffe
	dc.w	$ffff,$fffe
