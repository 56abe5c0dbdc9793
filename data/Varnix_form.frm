# The converter window of Varnix: pick a landscape, type a position as latitude/longitude or as
# landscape X/Y, pick the notation of the result, Convert, Copy; Files opens the file page.
#
# The program finds its items by name: LND, IT, OT, IC1, IC2 (input boxes) and the text lines
# OC1, OC2. Text line 1 is the title; the program appends its version. Positions are pixels
# from the bottom-left corner, y upward; labels sit left of their boxes, which share x = 120.

[General]
Window Title=Varnix
FontName=arial.ttf
FontSize=13
Version=2200
Active=1
Debug=no
TickSize=13

[Input-boxes]
{Name=LND; Txt=Landscape; Type=DDL; Pos=120,226; TxPos=LA; Size=26}
{Name=IT; Txt=Input,Latitude / longitude,Landscape X / Y; Type=DDL; Pos=120,198; TxPos=LA; Size=26}
{Name=OT; Txt="Output,Landscape X / Y,Degrees minutes seconds,Decimal degrees,Waypoint file (cup),Simulator notation"; Type=DDL; Pos=120,170; TxPos=LA; Size=26}
{Name=IC1; Txt=Lat; Type=CHR; Pos=120,132; TxPos=LA; Size=26}
{Name=IC2; Txt=Lon; Type=CHR; Pos=120,104; TxPos=LA; Size=26}

[Text]
{Title=Position converter; Pos=C50%,-8}
{Title=Result; Pos=R112,70}
{Title=OC1; Pos=120,70}
{Title=OC2; Pos=120,50}

[Separators]
{Separ=12,93,369,93}
{Separ=12,40,369,40}

[Buttons]
{Txt=Convert; Type=102; Pos=C13%,12; Size=82}
{Txt=Copy; Type=3; Pos=C38%,12; Size=82}
{Txt=Files; Type=4; Pos=C63%,12; Size=82}
{Txt=Close; Type=CANCEL; Pos=C88%,12; Size=82}
