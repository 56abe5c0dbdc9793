# Every kind of widget the form engine draws, for looking at and for the drawing tests.
[General]
Window Title=Every widget
FontName=arial.ttf
FontSize=12
Version=2200
Active=1
Debug=no
TickSize=13

[Input-boxes]
{Name=INT; Txt=Whole number; Type=INT; Pos=130,330; TxPos=LA; Size=6; Arr=1; Min=0; Max=100}
{Name=FLT; Txt=Real number; Type=FLT; Pos=130,302; TxPos=LA; Size=8; Arr=1; Min=-10; Max=10}
{Name=CHR; Txt=Free text; Type=CHR; Pos=130,274; TxPos=LA; Size=20}
{Name=TCK; Txt=Tick box; Type=TCK; Pos=130,248; TxPos=R}
{Name=KEY; Txt=Key; Type=KEY; Pos=130,220; TxPos=LA; Size=12}
{Name=COL; Txt=Colour; Type=COL; Pos=130,192; TxPos=LA; Size=8}
{Name=IFP; Txt=Open file; Type=IFP; Pos=130,164; TxPos=LA; Size=20; Ext=*.txt}
{Name=OFP; Txt=Save file; Type=OFP; Pos=130,136; TxPos=LA; Size=20; Ext=*.cup}
{Name=FLD; Txt=Folder; Type=FLD; Pos=130,108; TxPos=LA; Size=20; Dep=TCK}
{Name=DDL; Txt=Unit,metres,kilometres,nautical miles,feet; Type=DDL; Pos=130,80; TxPos=LA; Size=14}
{Name=LND; Txt=Landscape; Type=DDL; Pos=360,330; TxPos=TL; Size=14}
{Name=R1; Txt=North; Type=TCK; Pos=370,274; TxPos=R}
{Name=R2; Txt=South; Type=TCK; Pos=370,250; TxPos=R}
{Name=R3; Txt=Disabled; Type=CHR; Pos=370,220; TxPos=TL; Size=10; Dep=-TCK}
{Name=BAD; Txt=Invalid; Type=INT; Pos=370,164; TxPos=TL; Size=8; Min=0; Max=5}

[Radio-buttons]
{Set=R1,R2}

[Separators]
{Separ=10,60,540,60}
{Separ=340,70,340,350}
{Separ=10,-6,540,-6}

[Text]
{Title=Every widget; Pos=C50%,-20}
{Title=Plain text item; Pos=360,110}
{Title=Right-aligned; Pos=R98%,86}

[Buttons]
{Txt=OK; Pos=C20%,14; Size=90; Type=OK}
{Txt=Apply; Pos=C50%,14; Size=90; Type=102}
{Txt=Cancel; Pos=C80%,14; Size=90; Type=CANCEL}
