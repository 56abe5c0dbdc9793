# Odd but readable: positions negative, huge and overlapping, empty labels, zero sizes.
[General]
Window Title=Odd form
FontName=no_such_font.ttf
FontSize=0
Version=2200
Active=0
TickSize=0

[Input-boxes]
{Name=A; Txt=; Type=INT; Pos=-99999,-99999; Size=0; Arr=1}
{Name=B; Txt=Big; Type=CHR; Pos=2000000000,2000000000; Size=2000000000}
{Name=C; Txt=Same place; Type=FLD; Pos=10,10; Size=0}
{Name=D; Txt=Same place; Type=DDL; Pos=10,10; Size=1}
{Name=E; Type=TCK; Pos=10,10; TxPos=TC}
{Name=F; Type=TCK; Pos=10,10; TxPos=TL}

[Radio-buttons]
{Set=E,F}

[Separators]
{Separ=-5,-5,-5,-5}
{Separ=99999,0,-99999,0}

[Text]
{Title=; Pos=C9999%,-99999}
{Title=Far; Pos=R-5,2000000000}

[Buttons]
{Txt=; Pos=C0%,-5; Size=0; Type=OK}
{Txt=Huge; Pos=L9999,0; Size=2000000000; Type=102}
