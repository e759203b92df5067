copperlist:
	dc.w	DIWSTRT,$2c81,DIWSTOP,$2cc1
	dc.w	DDFSTRT,$0038,DDFSTOP,$00d0
	dc.w	BPLCON0,$4200,BPLCON1,$0000
	dc.w	COLOR00,$0000,COLOR01,$0fff
	dc.w	$2c07,$fffe,COLOR00,$0004	; sky
	dc.w	$3c07,$fffe,COLOR00,$0015	; sky
	dc.w	$4c07,$fffe,COLOR00,$0126	; sky
	dc.w	$5c07,$fffe,COLOR00,$0137	; sky
	dc.w	$6c07,$fffe,COLOR00,$0248	; sky
	dc.w	$7c07,$fffe,COLOR00,$0259	; sky
	dc.w	$8c07,$fffe,COLOR00,$036a	; sky
	dc.w	$9c07,$fffe,COLOR00,$037b	; sky
	dc.w	$ac07,$fffe,COLOR00,$048c	; sky
	dc.w	$bc07,$fffe,COLOR00,$049d	; sky
	dc.w	$cc07,$fffe,COLOR00,$05ae	; sky
	dc.w	$dc07,$fffe,COLOR00,$05bf	; sky
	dc.w	$9007,$fffe,COLOR01,$0ff0
	dc.w	$ffdf,$fffe
	dc.w	$0407,$fffe,COLOR00,$0530
	dc.w	$2007,$fffe,COLOR00,$0320
	dc.w	$ffff,$fffe
