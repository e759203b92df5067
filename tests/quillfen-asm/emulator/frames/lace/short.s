; interlaced lores, 2 planes, 64 lines over 32 frame lines
	dc.w	COLOR00,$0000
	dc.w	COLOR01,$0f00
	dc.w	COLOR02,$00f0
	dc.w	COLOR03,$000f
	dc.w	DIWSTRT,$90e1
	dc.w	DIWSTOP,$b021
	dc.w	DDFSTRT,$0068
	dc.w	DDFSTOP,$0080
	dc.w	BPL1MOD,$0008
	dc.w	BPL2MOD,$0008
	dc.w	BPLCON0,$2204
	dc.w	BPL1PTH,$0002
	dc.w	BPL1PTL,$0008
	dc.w	BPL2PTH,$0002
	dc.w	BPL2PTL,$0208
	dc.w	$ffff,$fffe
