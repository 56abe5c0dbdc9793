[Input-boxes]
{Name=Abc; Type=I; Pos=1,1; Size=5}{Name=ABC}
