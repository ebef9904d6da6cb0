; Demo program of the golden files
        $INCLUDE DEFS.INC
COUNTER VAR 2, 20H
FLAG    VAR
START:  LDI 1FH          ; load
	STI 12H, 3
        ADD COUNT
        JMP LATER
        CALL START
        JPZ LATER
LONGNAME_OVER14: NOP
        ORG 10H
LATER:  STIX 5
        LDR FLAG
        LDI MASK
        PUBLIC START
        EXTERN OUTSIDE
        RET
