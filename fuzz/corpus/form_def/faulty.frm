[Input-boxes]
{Name=A; Type=flt; Pos=1,-1; Size=600}
{Type=X; Min=5; Max=1}
{Name=B; Dep=Nobody; Size=abc}
[general]
Version=12000
[Radio-buttons]
{Set=A,B,A,B,A,B,A,B,A,B,A,B}
