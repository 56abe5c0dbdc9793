# The form the window interaction tests drive: one input of each kind they need.
[General]
Window Title=Interaction
FontName=arial.ttf
FontSize=13
Version=2200
Active=1
Debug=no
TickSize=13

[Input-boxes]
{Name=NUM; Txt=Number; Type=INT; Pos=120,300; TxPos=LA; Size=10}
{Name=ALT; Txt=Altitude; Type=FLT; Pos=120,270; TxPos=LA; Size=10; Min=0; Max=100}
{Name=TXT; Txt=Text; Type=CHR; Pos=120,240; TxPos=LA; Size=20}
{Name=R1; Txt=First; Type=TCK; Pos=120,210; TxPos=R}
{Name=R2; Txt=Second; Type=TCK; Pos=220,210; TxPos=R}
{Name=DEP; Txt=With first; Type=CHR; Pos=120,180; TxPos=LA; Size=10; Dep=R1}
{Name=FIL; Txt=File; Type=IFP; Pos=120,130; TxPos=LA; Size=20}
{Name=LST; Txt=List,l01,l02,l03,l04,l05,l06,l07,l08,l09,l10,l11,l12,l13,l14,l15,l16,l17,l18,l19,l20,l21,l22,l23,l24,l25,l26,l27,l28,l29,l30; Type=DDL; Pos=120,100; TxPos=LA; Size=10}

[Radio-buttons]
{Set=R1,R2}

[Buttons]
{Txt=OK; Type=OK; Pos=C30%,12; Size=80}
{Txt=Cancel; Type=CANCEL; Pos=C70%,12; Size=80}
