' The built-in library as scripts use it.
Ext.Print CBool("True") & " " & CByte(200) & " " & CInt(2.5) & " " & CInt(3.5) & " " & CLng("123") & " " & CDbl("1.25")
Ext.Print CStr(12) & " " & TypeName(CSng(1)) & " " & TypeName(CCur(1)) & " " & TypeName(CDate("2003-01-02"))
Ext.Print IsNumeric("12") & " " & IsNumeric("x") & " " & IsEmpty(x) & " " & IsNull(Null) & " " & IsArray(Array()) & " " & IsDate("2003-01-02")
Ext.Print VarType(1) & " " & VarType("s") & " " & VarType(Array(1)) & " " & VarType(Null) & " " & TypeName(Nothing)
Ext.Print Len("hello") & " " & Left("hello", 2) & " " & Right("hello", 3) & " " & Mid("hello", 2, 3) & " " & Mid("hello", 4)
Ext.Print InStr("hello", "l") & " " & InStr(4, "hello", "l") & " " & InStrRev("hello", "l") & " " & InStr("hello", "z")
Ext.Print Replace("a-b-c", "-", "+") & " " & Join(Split("a,b,c", ","), "|") & " " & UBound(Split("a,b,c", ","))
Ext.Print UCase("abc") & LCase("DEF") & "[" & Trim("  x  ") & "][" & LTrim("  x") & "][" & RTrim("x  ") & "]"
Ext.Print "[" & Space(3) & "]" & String(3, "z") & " " & StrComp("a", "b") & " " & StrComp("a", "A", 1) & " " & StrReverse("abc")
Ext.Print Asc("A") & " " & AscW("a") & " " & Chr(66) & ChrW(67) & " " & Hex(255) & " " & Oct(8) & " " & FormatNumber(1234.5678, 2)
Ext.Print Abs(-3) & " " & Sgn(-2) & " " & Int(-2.5) & " " & Fix(-2.5) & " " & Round(2.5) & " " & Round(3.14159, 2) & " " & Sqr(16)
Ext.Print Round(Sin(0), 3) & " " & Round(Cos(0), 3) & " " & Round(Atn(1) * 4, 5) & " " & Round(Exp(1), 4) & " " & Round(Log(Exp(2)), 4)
Randomize 1
r = Rnd()
Ext.Print (r >= 0 And r < 1)
Ext.Print DateSerial(2003, 1, 31) + 1 & " " & TimeSerial(10, 30, 0) & " " & DateAdd("m", 1, #1/31/2003#)
Ext.Print DateDiff("d", #1/1/2003#, #3/1/2003#) & " " & Weekday(#1/5/2003#) & " " & Day(#1/5/2003#)
Ext.Print DateValue("2003-02-01") & " " & TimeValue("13:45:00") & " " & Minute(#13:45:10#) & " " & Second(#13:45:10#)
Dim a
a = Array(3, 1, 2)
Ext.Print LBound(a) & " " & UBound(a) & " " & Join(Filter(Array("ab", "cd", "abc"), "ab"), ",")
ReDim b(2, 3)
Ext.Print UBound(b, 1) & " " & UBound(b, 2)
Ext.Print MsgBox("question?", vbYesNo + vbQuestion, "title") = vbYes
Ext.Print InputBox("name?", "title", "default")
Ext.Print vbCrLf = Chr(13) & Chr(10)
Ext.Print (vbTab = Chr(9)) & " " & vbLong & " " & vbString & " " & vbObject
