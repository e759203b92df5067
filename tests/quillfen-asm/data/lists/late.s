	dc.w	$ffdf,$fffe
	dc.w	$0601,$fffe
	dc.w	$ffff,$fffe
