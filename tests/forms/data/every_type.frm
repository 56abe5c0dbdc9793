# A box of every type, two keys and a landscape list: saved values are written and read for each.
[Input-boxes]
{Name=I; Type=INT; Pos=1,1; Size=5}
{Name=T; Type=TCK; Pos=1,1}
{Name=F; Type=FLT; Pos=1,1; Size=5}
{Name=C; Type=CHR; Pos=1,1; Size=5}
{Name=O; Type=COL; Pos=1,1}
{Name=P; Type=IFP; Pos=1,1; Size=5}
{Name=Q; Type=OFP; Pos=1,1; Size=5}
{Name=D; Type=FLD; Pos=1,1; Size=5}
{Name=L; Type=DDL; Pos=1,1; Size=5; Txt=L,a,b,c}
{Name=K; Type=KEY; Pos=1,1; Size=5}
{Name=S; Type=KEY; Pos=1,1; Size=5}
{Name=Land; Type=DDL; Pos=1,1; Size=5; Txt=Landscape}
{Name=G; Type=FLT; Pos=1,1; Size=5}
