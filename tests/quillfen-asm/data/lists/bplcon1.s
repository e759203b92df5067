	dc.w	BPLCON1,$00ff
