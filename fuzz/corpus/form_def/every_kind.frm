# Every kind of widget
[General]
Window Title=All kinds
FontName=arial.ttf
FontSize=12
Version=2200
Active=1
Debug=0
TickSize=12

[Input-boxes]
{Name=N; Txt=Count; Type=INT; Pos=10,20; TxPos=R; Size=5; Arr=1; Min=0; Max=10}
{Name=F; Txt=-Speed; Type=FLT; Pos=-10,40; Size=8; Arr=1; Min=-1.5e3; Max=2e3}
{Name=T; Txt=On; Type=TCK; Pos=10,60}
{Name=U; Txt=Off; Type=T; Pos=40,60; Dep=-T}
{
  Name=P
  Txt=File
  Type=IFP
  Ext=*.frm
  Pos=10,80
  TxPos=5,90
  Size=20
  Dep=T
}
{Name=O; Txt=Out; Type=OFP; Pos=10,90; Size=20; TxPos=LA}
{Name=D; Txt=Folder; Type=FLD; Pos=10,95; Size=20; TxPos=TC}
{Name=C; Txt=Colour; Type=F; Pos=10,97; TxPos=TL}
{Name=S; Txt="Free; text"; Type=CHR; Pos=10,98; Size=30; Var=s}
{Name=L; Txt="Unit,m,km,\"nm\""; Type=DDL; Pos=10,100; Size=6}
{Name=Lnd; Txt=Landscape; Type=DDL; Pos=10,110; Size=16}
{Name=K; Txt=Key; Type=KEY; Pos=10,120; Size=6}

[Radio-buttons]
{Set=T,U}

[Separators]
{Separ=0,5,100,5}

[Text]
{Title=Head; Pos=C50%,-15}
{Title=Right; Pos=R120,10}

[Buttons]
{Txt=OK; Pos=C150,5; Size=80; Type=OK}
{Txt=Quit; Pos=R390,5; Size=60; Type=CANCEL}
{Txt=Convert; Pos=L10,5; Size=60; Type=102}
