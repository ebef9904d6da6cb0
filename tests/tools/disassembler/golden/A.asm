;-------------------------------------------------------------------------------
;	@DIR@/D.asm
;-------------------------------------------------------------------------------
;
;	Dissassembly of :	@DIR@/A.bin
;	Date			:	14/11/2023
;	Time			:	22:13
;	Nb. Instructions:	30 (0 - 001D)
;	Check Sum		:	121B
;-------------------------------------------------------------------------------
;
; Referenced Addresses
V00		EQU			00H
V10		EQU			10H
V5A		EQU			5AH
V5F		EQU			5FH
V7F		EQU			7FH
L0FFF		EQU			0FFFH
;-------------------------------------------------------------------------------
;
L0000: LDI           05h 
       STA           V5F 
       STI           V5A , 03h 
       STIX          03h 
       STIX          03h 
       NXOR           V7F 
       NANDS          V10 
       CALL          L0013 
L0008: JMP           L0000 
       DW            0F815h 
       RET   
       INC           V7F 
       JPZ           L0FFF 
       ROM           0 
       JPC           L0008 
       JPNZ          L0000 
       JPNZ          L0000 
       JPNZ          L0000 
       JPNZ          L0000 
L0013: JPNZ          L0000 
       JPNZ          L0000 
       JPNZ          L0000 
       JPNZ          L0000 
       JPNZ          L0000 
       JPNZ          L0000 
       JPNZ          L0000 
       LDR           V5F 
       ADD           V00 
       NOP   
       HALT  
          END
