; AGA superhires, 2 planes (the emulator shows the first of each pair)
	dc.w	COLOR00,$0000
	dc.w	COLOR01,$0f80
	dc.w	COLOR02,$008f
	dc.w	COLOR03,$0fff
	dc.w	DIWSTRT,$90e1
	dc.w	DIWSTOP,$b021
	dc.w	DDFSTRT,$006c
	dc.w	DDFSTOP,$008c
	dc.w	BPL1MOD,$0000
	dc.w	BPL2MOD,$0000
	dc.w	BPLCON0,$2240
	dc.w	BPL1PTH,$0002
	dc.w	BPL1PTL,$0000
	dc.w	BPL2PTH,$0002
	dc.w	BPL2PTL,$0500
	dc.w	$ffff,$fffe
