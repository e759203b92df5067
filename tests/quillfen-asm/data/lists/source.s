	dc.w	BPL1PTH,screen>>16
	section	copper,data_c
	dc.w	BPL1PTL,screen&$ffff
