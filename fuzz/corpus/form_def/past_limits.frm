# Every table one past its limit: 101 boxes, 31 lists of 51 entries, 11 radio groups of 11,
# 21 separators, 21 text lines, 11 buttons
[General]
Window Title=Past the limits
FontSize=12
Active=1
Debug=0

[Input-boxes]
{Name=D1; Txt=List1,e1,e2,e3,e4,e5,e6,e7,e8,e9,e10,e11,e12,e13,e14,e15,e16,e17,e18,e19,e20,e21,e22,e23,e24,e25,e26,e27,e28,e29,e30,e31,e32,e33,e34,e35,e36,e37,e38,e39,e40,e41,e42,e43,e44,e45,e46,e47,e48,e49,e50,e51; Type=DDL; Pos=10,3; Size=6}
{Name=D2; Txt=List2,e1,e2,e3,e4,e5,e6,e7,e8,e9,e10,e11,e12,e13,e14,e15,e16,e17,e18,e19,e20,e21,e22,e23,e24,e25,e26,e27,e28,e29,e30,e31,e32,e33,e34,e35,e36,e37,e38,e39,e40,e41,e42,e43,e44,e45,e46,e47,e48,e49,e50,e51; Type=DDL; Pos=10,6; Size=6}
{Name=D3; Txt=List3,e1,e2,e3,e4,e5,e6,e7,e8,e9,e10,e11,e12,e13,e14,e15,e16,e17,e18,e19,e20,e21,e22,e23,e24,e25,e26,e27,e28,e29,e30,e31,e32,e33,e34,e35,e36,e37,e38,e39,e40,e41,e42,e43,e44,e45,e46,e47,e48,e49,e50,e51; Type=DDL; Pos=10,9; Size=6}
{Name=D4; Txt=List4,e1,e2,e3,e4,e5,e6,e7,e8,e9,e10,e11,e12,e13,e14,e15,e16,e17,e18,e19,e20,e21,e22,e23,e24,e25,e26,e27,e28,e29,e30,e31,e32,e33,e34,e35,e36,e37,e38,e39,e40,e41,e42,e43,e44,e45,e46,e47,e48,e49,e50,e51; Type=DDL; Pos=10,12; Size=6}
{Name=D5; Txt=List5,e1,e2,e3,e4,e5,e6,e7,e8,e9,e10,e11,e12,e13,e14,e15,e16,e17,e18,e19,e20,e21,e22,e23,e24,e25,e26,e27,e28,e29,e30,e31,e32,e33,e34,e35,e36,e37,e38,e39,e40,e41,e42,e43,e44,e45,e46,e47,e48,e49,e50,e51; Type=DDL; Pos=10,15; Size=6}
{Name=D6; Txt=List6,e1,e2,e3,e4,e5,e6,e7,e8,e9,e10,e11,e12,e13,e14,e15,e16,e17,e18,e19,e20,e21,e22,e23,e24,e25,e26,e27,e28,e29,e30,e31,e32,e33,e34,e35,e36,e37,e38,e39,e40,e41,e42,e43,e44,e45,e46,e47,e48,e49,e50,e51; Type=DDL; Pos=10,18; Size=6}
{Name=D7; Txt=List7,e1,e2,e3,e4,e5,e6,e7,e8,e9,e10,e11,e12,e13,e14,e15,e16,e17,e18,e19,e20,e21,e22,e23,e24,e25,e26,e27,e28,e29,e30,e31,e32,e33,e34,e35,e36,e37,e38,e39,e40,e41,e42,e43,e44,e45,e46,e47,e48,e49,e50,e51; Type=DDL; Pos=10,21; Size=6}
{Name=D8; Txt=List8,e1,e2,e3,e4,e5,e6,e7,e8,e9,e10,e11,e12,e13,e14,e15,e16,e17,e18,e19,e20,e21,e22,e23,e24,e25,e26,e27,e28,e29,e30,e31,e32,e33,e34,e35,e36,e37,e38,e39,e40,e41,e42,e43,e44,e45,e46,e47,e48,e49,e50,e51; Type=DDL; Pos=10,24; Size=6}
{Name=D9; Txt=List9,e1,e2,e3,e4,e5,e6,e7,e8,e9,e10,e11,e12,e13,e14,e15,e16,e17,e18,e19,e20,e21,e22,e23,e24,e25,e26,e27,e28,e29,e30,e31,e32,e33,e34,e35,e36,e37,e38,e39,e40,e41,e42,e43,e44,e45,e46,e47,e48,e49,e50,e51; Type=DDL; Pos=10,27; Size=6}
{Name=D10; Txt=List10,e1,e2,e3,e4,e5,e6,e7,e8,e9,e10,e11,e12,e13,e14,e15,e16,e17,e18,e19,e20,e21,e22,e23,e24,e25,e26,e27,e28,e29,e30,e31,e32,e33,e34,e35,e36,e37,e38,e39,e40,e41,e42,e43,e44,e45,e46,e47,e48,e49,e50,e51; Type=DDL; Pos=10,30; Size=6}
{Name=D11; Txt=List11,e1,e2,e3,e4,e5,e6,e7,e8,e9,e10,e11,e12,e13,e14,e15,e16,e17,e18,e19,e20,e21,e22,e23,e24,e25,e26,e27,e28,e29,e30,e31,e32,e33,e34,e35,e36,e37,e38,e39,e40,e41,e42,e43,e44,e45,e46,e47,e48,e49,e50,e51; Type=DDL; Pos=10,33; Size=6}
{Name=D12; Txt=List12,e1,e2,e3,e4,e5,e6,e7,e8,e9,e10,e11,e12,e13,e14,e15,e16,e17,e18,e19,e20,e21,e22,e23,e24,e25,e26,e27,e28,e29,e30,e31,e32,e33,e34,e35,e36,e37,e38,e39,e40,e41,e42,e43,e44,e45,e46,e47,e48,e49,e50,e51; Type=DDL; Pos=10,36; Size=6}
{Name=D13; Txt=List13,e1,e2,e3,e4,e5,e6,e7,e8,e9,e10,e11,e12,e13,e14,e15,e16,e17,e18,e19,e20,e21,e22,e23,e24,e25,e26,e27,e28,e29,e30,e31,e32,e33,e34,e35,e36,e37,e38,e39,e40,e41,e42,e43,e44,e45,e46,e47,e48,e49,e50,e51; Type=DDL; Pos=10,39; Size=6}
{Name=D14; Txt=List14,e1,e2,e3,e4,e5,e6,e7,e8,e9,e10,e11,e12,e13,e14,e15,e16,e17,e18,e19,e20,e21,e22,e23,e24,e25,e26,e27,e28,e29,e30,e31,e32,e33,e34,e35,e36,e37,e38,e39,e40,e41,e42,e43,e44,e45,e46,e47,e48,e49,e50,e51; Type=DDL; Pos=10,42; Size=6}
{Name=D15; Txt=List15,e1,e2,e3,e4,e5,e6,e7,e8,e9,e10,e11,e12,e13,e14,e15,e16,e17,e18,e19,e20,e21,e22,e23,e24,e25,e26,e27,e28,e29,e30,e31,e32,e33,e34,e35,e36,e37,e38,e39,e40,e41,e42,e43,e44,e45,e46,e47,e48,e49,e50,e51; Type=DDL; Pos=10,45; Size=6}
{Name=D16; Txt=List16,e1,e2,e3,e4,e5,e6,e7,e8,e9,e10,e11,e12,e13,e14,e15,e16,e17,e18,e19,e20,e21,e22,e23,e24,e25,e26,e27,e28,e29,e30,e31,e32,e33,e34,e35,e36,e37,e38,e39,e40,e41,e42,e43,e44,e45,e46,e47,e48,e49,e50,e51; Type=DDL; Pos=10,48; Size=6}
{Name=D17; Txt=List17,e1,e2,e3,e4,e5,e6,e7,e8,e9,e10,e11,e12,e13,e14,e15,e16,e17,e18,e19,e20,e21,e22,e23,e24,e25,e26,e27,e28,e29,e30,e31,e32,e33,e34,e35,e36,e37,e38,e39,e40,e41,e42,e43,e44,e45,e46,e47,e48,e49,e50,e51; Type=DDL; Pos=10,51; Size=6}
{Name=D18; Txt=List18,e1,e2,e3,e4,e5,e6,e7,e8,e9,e10,e11,e12,e13,e14,e15,e16,e17,e18,e19,e20,e21,e22,e23,e24,e25,e26,e27,e28,e29,e30,e31,e32,e33,e34,e35,e36,e37,e38,e39,e40,e41,e42,e43,e44,e45,e46,e47,e48,e49,e50,e51; Type=DDL; Pos=10,54; Size=6}
{Name=D19; Txt=List19,e1,e2,e3,e4,e5,e6,e7,e8,e9,e10,e11,e12,e13,e14,e15,e16,e17,e18,e19,e20,e21,e22,e23,e24,e25,e26,e27,e28,e29,e30,e31,e32,e33,e34,e35,e36,e37,e38,e39,e40,e41,e42,e43,e44,e45,e46,e47,e48,e49,e50,e51; Type=DDL; Pos=10,57; Size=6}
{Name=D20; Txt=List20,e1,e2,e3,e4,e5,e6,e7,e8,e9,e10,e11,e12,e13,e14,e15,e16,e17,e18,e19,e20,e21,e22,e23,e24,e25,e26,e27,e28,e29,e30,e31,e32,e33,e34,e35,e36,e37,e38,e39,e40,e41,e42,e43,e44,e45,e46,e47,e48,e49,e50,e51; Type=DDL; Pos=10,60; Size=6}
{Name=D21; Txt=List21,e1,e2,e3,e4,e5,e6,e7,e8,e9,e10,e11,e12,e13,e14,e15,e16,e17,e18,e19,e20,e21,e22,e23,e24,e25,e26,e27,e28,e29,e30,e31,e32,e33,e34,e35,e36,e37,e38,e39,e40,e41,e42,e43,e44,e45,e46,e47,e48,e49,e50,e51; Type=DDL; Pos=10,63; Size=6}
{Name=D22; Txt=List22,e1,e2,e3,e4,e5,e6,e7,e8,e9,e10,e11,e12,e13,e14,e15,e16,e17,e18,e19,e20,e21,e22,e23,e24,e25,e26,e27,e28,e29,e30,e31,e32,e33,e34,e35,e36,e37,e38,e39,e40,e41,e42,e43,e44,e45,e46,e47,e48,e49,e50,e51; Type=DDL; Pos=10,66; Size=6}
{Name=D23; Txt=List23,e1,e2,e3,e4,e5,e6,e7,e8,e9,e10,e11,e12,e13,e14,e15,e16,e17,e18,e19,e20,e21,e22,e23,e24,e25,e26,e27,e28,e29,e30,e31,e32,e33,e34,e35,e36,e37,e38,e39,e40,e41,e42,e43,e44,e45,e46,e47,e48,e49,e50,e51; Type=DDL; Pos=10,69; Size=6}
{Name=D24; Txt=List24,e1,e2,e3,e4,e5,e6,e7,e8,e9,e10,e11,e12,e13,e14,e15,e16,e17,e18,e19,e20,e21,e22,e23,e24,e25,e26,e27,e28,e29,e30,e31,e32,e33,e34,e35,e36,e37,e38,e39,e40,e41,e42,e43,e44,e45,e46,e47,e48,e49,e50,e51; Type=DDL; Pos=10,72; Size=6}
{Name=D25; Txt=List25,e1,e2,e3,e4,e5,e6,e7,e8,e9,e10,e11,e12,e13,e14,e15,e16,e17,e18,e19,e20,e21,e22,e23,e24,e25,e26,e27,e28,e29,e30,e31,e32,e33,e34,e35,e36,e37,e38,e39,e40,e41,e42,e43,e44,e45,e46,e47,e48,e49,e50,e51; Type=DDL; Pos=10,75; Size=6}
{Name=D26; Txt=List26,e1,e2,e3,e4,e5,e6,e7,e8,e9,e10,e11,e12,e13,e14,e15,e16,e17,e18,e19,e20,e21,e22,e23,e24,e25,e26,e27,e28,e29,e30,e31,e32,e33,e34,e35,e36,e37,e38,e39,e40,e41,e42,e43,e44,e45,e46,e47,e48,e49,e50,e51; Type=DDL; Pos=10,78; Size=6}
{Name=D27; Txt=List27,e1,e2,e3,e4,e5,e6,e7,e8,e9,e10,e11,e12,e13,e14,e15,e16,e17,e18,e19,e20,e21,e22,e23,e24,e25,e26,e27,e28,e29,e30,e31,e32,e33,e34,e35,e36,e37,e38,e39,e40,e41,e42,e43,e44,e45,e46,e47,e48,e49,e50,e51; Type=DDL; Pos=10,81; Size=6}
{Name=D28; Txt=List28,e1,e2,e3,e4,e5,e6,e7,e8,e9,e10,e11,e12,e13,e14,e15,e16,e17,e18,e19,e20,e21,e22,e23,e24,e25,e26,e27,e28,e29,e30,e31,e32,e33,e34,e35,e36,e37,e38,e39,e40,e41,e42,e43,e44,e45,e46,e47,e48,e49,e50,e51; Type=DDL; Pos=10,84; Size=6}
{Name=D29; Txt=List29,e1,e2,e3,e4,e5,e6,e7,e8,e9,e10,e11,e12,e13,e14,e15,e16,e17,e18,e19,e20,e21,e22,e23,e24,e25,e26,e27,e28,e29,e30,e31,e32,e33,e34,e35,e36,e37,e38,e39,e40,e41,e42,e43,e44,e45,e46,e47,e48,e49,e50,e51; Type=DDL; Pos=10,87; Size=6}
{Name=D30; Txt=List30,e1,e2,e3,e4,e5,e6,e7,e8,e9,e10,e11,e12,e13,e14,e15,e16,e17,e18,e19,e20,e21,e22,e23,e24,e25,e26,e27,e28,e29,e30,e31,e32,e33,e34,e35,e36,e37,e38,e39,e40,e41,e42,e43,e44,e45,e46,e47,e48,e49,e50,e51; Type=DDL; Pos=10,90; Size=6}
{Name=D31; Txt=List31,e1,e2,e3,e4,e5,e6,e7,e8,e9,e10,e11,e12,e13,e14,e15,e16,e17,e18,e19,e20,e21,e22,e23,e24,e25,e26,e27,e28,e29,e30,e31,e32,e33,e34,e35,e36,e37,e38,e39,e40,e41,e42,e43,e44,e45,e46,e47,e48,e49,e50,e51; Type=DDL; Pos=10,93; Size=6}
{Name=B32; Txt=Box 32; Type=COL; Pos=200,96; Size=8}
{Name=B33; Txt=Box 33; Type=IFP; Pos=200,99; Size=8}
{Name=B34; Txt=Box 34; Type=OFP; Pos=200,102; Size=8}
{Name=B35; Txt=Box 35; Type=FLD; Pos=200,105; Size=8}
{Name=B36; Txt=Box 36; Type=INT; Pos=200,108; Size=8; Min=0; Max=10; Arr=1}
{Name=B37; Txt=Box 37; Type=FLT; Pos=200,111; Size=8; Min=0; Max=10; Arr=1}
{Name=B38; Txt=Box 38; Type=CHR; Pos=200,114; Size=8}
{Name=B39; Txt=Box 39; Type=TCK; Pos=200,117; Size=8}
{Name=B40; Txt=Box 40; Type=KEY; Pos=200,120; Size=8}
{Name=B41; Txt=Box 41; Type=COL; Pos=200,123; Size=8}
{Name=B42; Txt=Box 42; Type=IFP; Pos=200,126; Size=8}
{Name=B43; Txt=Box 43; Type=OFP; Pos=200,129; Size=8}
{Name=B44; Txt=Box 44; Type=FLD; Pos=200,132; Size=8}
{Name=B45; Txt=Box 45; Type=INT; Pos=200,135; Size=8; Min=0; Max=10; Arr=1}
{Name=B46; Txt=Box 46; Type=FLT; Pos=200,138; Size=8; Min=0; Max=10; Arr=1}
{Name=B47; Txt=Box 47; Type=CHR; Pos=200,141; Size=8}
{Name=B48; Txt=Box 48; Type=TCK; Pos=200,144; Size=8}
{Name=B49; Txt=Box 49; Type=KEY; Pos=200,147; Size=8}
{Name=B50; Txt=Box 50; Type=COL; Pos=200,150; Size=8}
{Name=B51; Txt=Box 51; Type=IFP; Pos=200,153; Size=8}
{Name=B52; Txt=Box 52; Type=OFP; Pos=200,156; Size=8}
{Name=B53; Txt=Box 53; Type=FLD; Pos=200,159; Size=8}
{Name=B54; Txt=Box 54; Type=INT; Pos=200,162; Size=8; Min=0; Max=10; Arr=1}
{Name=B55; Txt=Box 55; Type=FLT; Pos=200,165; Size=8; Min=0; Max=10; Arr=1}
{Name=B56; Txt=Box 56; Type=CHR; Pos=200,168; Size=8}
{Name=B57; Txt=Box 57; Type=TCK; Pos=200,171; Size=8}
{Name=B58; Txt=Box 58; Type=KEY; Pos=200,174; Size=8}
{Name=B59; Txt=Box 59; Type=COL; Pos=200,177; Size=8}
{Name=B60; Txt=Box 60; Type=IFP; Pos=200,180; Size=8}
{Name=B61; Txt=Box 61; Type=OFP; Pos=200,183; Size=8}
{Name=B62; Txt=Box 62; Type=FLD; Pos=200,186; Size=8}
{Name=B63; Txt=Box 63; Type=INT; Pos=200,189; Size=8; Min=0; Max=10; Arr=1}
{Name=B64; Txt=Box 64; Type=FLT; Pos=200,192; Size=8; Min=0; Max=10; Arr=1}
{Name=B65; Txt=Box 65; Type=CHR; Pos=200,195; Size=8}
{Name=B66; Txt=Box 66; Type=TCK; Pos=200,198; Size=8}
{Name=B67; Txt=Box 67; Type=KEY; Pos=200,201; Size=8}
{Name=B68; Txt=Box 68; Type=COL; Pos=200,204; Size=8}
{Name=B69; Txt=Box 69; Type=IFP; Pos=200,207; Size=8}
{Name=B70; Txt=Box 70; Type=OFP; Pos=200,210; Size=8}
{Name=B71; Txt=Box 71; Type=FLD; Pos=200,213; Size=8}
{Name=B72; Txt=Box 72; Type=INT; Pos=200,216; Size=8; Min=0; Max=10; Arr=1}
{Name=B73; Txt=Box 73; Type=FLT; Pos=200,219; Size=8; Min=0; Max=10; Arr=1}
{Name=B74; Txt=Box 74; Type=CHR; Pos=200,222; Size=8}
{Name=B75; Txt=Box 75; Type=TCK; Pos=200,225; Size=8}
{Name=B76; Txt=Box 76; Type=KEY; Pos=200,228; Size=8}
{Name=B77; Txt=Box 77; Type=COL; Pos=200,231; Size=8}
{Name=B78; Txt=Box 78; Type=IFP; Pos=200,234; Size=8}
{Name=B79; Txt=Box 79; Type=OFP; Pos=200,237; Size=8}
{Name=B80; Txt=Box 80; Type=FLD; Pos=200,240; Size=8}
{Name=B81; Txt=Box 81; Type=INT; Pos=200,243; Size=8; Min=0; Max=10; Arr=1}
{Name=B82; Txt=Box 82; Type=FLT; Pos=200,246; Size=8; Min=0; Max=10; Arr=1}
{Name=B83; Txt=Box 83; Type=CHR; Pos=200,249; Size=8}
{Name=B84; Txt=Box 84; Type=TCK; Pos=200,252; Size=8}
{Name=B85; Txt=Box 85; Type=KEY; Pos=200,255; Size=8}
{Name=B86; Txt=Box 86; Type=COL; Pos=200,258; Size=8}
{Name=B87; Txt=Box 87; Type=IFP; Pos=200,261; Size=8}
{Name=B88; Txt=Box 88; Type=OFP; Pos=200,264; Size=8}
{Name=B89; Txt=Box 89; Type=FLD; Pos=200,267; Size=8}
{Name=B90; Txt=Box 90; Type=INT; Pos=200,270; Size=8; Min=0; Max=10; Arr=1}
{Name=B91; Txt=Box 91; Type=FLT; Pos=200,273; Size=8; Min=0; Max=10; Arr=1}
{Name=B92; Txt=Box 92; Type=CHR; Pos=200,276; Size=8}
{Name=B93; Txt=Box 93; Type=TCK; Pos=200,279; Size=8}
{Name=B94; Txt=Box 94; Type=KEY; Pos=200,282; Size=8}
{Name=B95; Txt=Box 95; Type=COL; Pos=200,285; Size=8}
{Name=B96; Txt=Box 96; Type=IFP; Pos=200,288; Size=8}
{Name=B97; Txt=Box 97; Type=OFP; Pos=200,291; Size=8}
{Name=B98; Txt=Box 98; Type=FLD; Pos=200,294; Size=8}
{Name=B99; Txt=Box 99; Type=INT; Pos=200,297; Size=8; Min=0; Max=10; Arr=1}
{Name=B100; Txt=Box 100; Type=FLT; Pos=200,300; Size=8; Min=0; Max=10; Arr=1}
{Name=B101; Txt=Box 101; Type=CHR; Pos=200,303; Size=8}

[Radio-buttons]
{Set=B32,B33,B34,B35,B36,B37,B38,B39,B40,B41,B42}
{Set=B43,B44,B45,B46,B47,B48,B49,B50,B51,B52,B53}
{Set=B54,B55,B56,B57,B58,B59,B60,B61,B62,B63,B64}
{Set=B65,B66,B67,B68,B69,B70,B71,B72,B73,B74,B75}
{Set=B76,B77,B78,B79,B80,B81,B82,B83,B84,B85,B86}
{Set=B87,B88,B89,B90,B91,B92,B93,B94,B95,B96,B97}
{Set=B98,B99,B100,B101,B32,B33,B34,B35,B36,B37,B38}
{Set=B39,B40,B41,B42,B43,B44,B45,B46,B47,B48,B49}
{Set=B50,B51,B52,B53,B54,B55,B56,B57,B58,B59,B60}
{Set=B61,B62,B63,B64,B65,B66,B67,B68,B69,B70,B71}
{Set=B72,B73,B74,B75,B76,B77,B78,B79,B80,B81,B82}

[Separators]
{Separ=0,0,100,0}
{Separ=0,1,100,1}
{Separ=0,2,100,2}
{Separ=0,3,100,3}
{Separ=0,4,100,4}
{Separ=0,5,100,5}
{Separ=0,6,100,6}
{Separ=0,7,100,7}
{Separ=0,8,100,8}
{Separ=0,9,100,9}
{Separ=0,10,100,10}
{Separ=0,11,100,11}
{Separ=0,12,100,12}
{Separ=0,13,100,13}
{Separ=0,14,100,14}
{Separ=0,15,100,15}
{Separ=0,16,100,16}
{Separ=0,17,100,17}
{Separ=0,18,100,18}
{Separ=0,19,100,19}
{Separ=0,20,100,20}

[Text]
{Title=Text 0; Pos=C50%,0}
{Title=Text 1; Pos=C50%,10}
{Title=Text 2; Pos=C50%,20}
{Title=Text 3; Pos=C50%,30}
{Title=Text 4; Pos=C50%,40}
{Title=Text 5; Pos=C50%,50}
{Title=Text 6; Pos=C50%,60}
{Title=Text 7; Pos=C50%,70}
{Title=Text 8; Pos=C50%,80}
{Title=Text 9; Pos=C50%,90}
{Title=Text 10; Pos=C50%,100}
{Title=Text 11; Pos=C50%,110}
{Title=Text 12; Pos=C50%,120}
{Title=Text 13; Pos=C50%,130}
{Title=Text 14; Pos=C50%,140}
{Title=Text 15; Pos=C50%,150}
{Title=Text 16; Pos=C50%,160}
{Title=Text 17; Pos=C50%,170}
{Title=Text 18; Pos=C50%,180}
{Title=Text 19; Pos=C50%,190}
{Title=Text 20; Pos=C50%,200}

[Buttons]
{Txt=B0; Pos=L0,5; Size=30; Type=OK}
{Txt=B1; Pos=L30,5; Size=30; Type=OK}
{Txt=B2; Pos=L60,5; Size=30; Type=OK}
{Txt=B3; Pos=L90,5; Size=30; Type=OK}
{Txt=B4; Pos=L120,5; Size=30; Type=OK}
{Txt=B5; Pos=L150,5; Size=30; Type=OK}
{Txt=B6; Pos=L180,5; Size=30; Type=OK}
{Txt=B7; Pos=L210,5; Size=30; Type=OK}
{Txt=B8; Pos=L240,5; Size=30; Type=OK}
{Txt=B9; Pos=L270,5; Size=30; Type=OK}
{Txt=B10; Pos=L300,5; Size=30; Type=OK}
