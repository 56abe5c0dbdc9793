# The file page of Varnix: a batch, waypoint (.cup), task or flight-plan file converted with the
# mouse, as the command line's -batch [-cup] [-task N] Landscape File Output does, with a picture
# of where the points lie.
#
# The program finds its items by name: IN, LND, TSK, OUT, CUP (input boxes) and the text lines
# SUM, MSG and CUPN (the waypoint file's name, beside its tick box); it draws into picture 1,
# which takes the room of a larger window (Grow=yes).
# Positions are pixels from the bottom-left corner, y upward.
# A label may name its sense after "|" ("Output|file") for the translations; it is never shown.

[General]
Window Title=Varnix
FontName=arial.ttf
FontSize=13
Version=2200
Active=1
Debug=no
TickSize=13

[Input-boxes]
{Name=IN; Txt=Input file; Type=IFP; Ext="*.cup *.txt *.fpl *.tsk *.gpx *.xctsk"; Title=Open a waypoint or task file; Pos=110,506; TxPos=LA; Size=48}
{Name=LND; Txt=Landscape; Type=DDL; Pos=110,478; TxPos=LA; Size=30}
{Name=TSK; Txt=Task,All waypoints; Type=DDL; Pos=110,450; TxPos=LA; Size=30}
{Name=OUT; Txt=Output|file; Type=OFP; Ext="*.fpl *.cup"; Title=Save the flight plan as; Pos=110,422; TxPos=LA; Size=48}
{Name=CUP; Txt=Also the .cup waypoint file; Type=TCK; Pos=110,398; TxPos=R}

[Text]
{Title=Waypoint and task files; Pos=C50%,-8}
{Title=SUM; Pos=12,70}
{Title=MSG; Pos=12,50}
{Title=CUPN; Pos=320,398}

[Pictures]
{Picture=12,92,548,386; Grow=yes}

[Separators]
{Separ=12,40,548,40}

[Buttons]
{Txt=Convert; Type=7; Pos=C14%,12; Size=100}
{Txt=Warnings; Type=5; Pos=C38%,12; Size=100}
{Txt=Converter; Type=4; Pos=C62%,12; Size=100}
{Txt=Close; Type=CANCEL; Pos=C86%,12; Size=100}
