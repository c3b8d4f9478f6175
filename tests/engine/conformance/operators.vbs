' Precedence, coercions, Null and Empty, integer growth and literals.
Ext.Print 2 + 3 * 4 & " " & (2 + 3) * 4 & " " & 2 ^ 3 ^ 2 & " " & -2 ^ 2 & " " & 2 ^ -1
Ext.Print 7 \ 2 & " " & -7 \ 2 & " " & 7 Mod 3 & " " & -7 Mod 3 & " " & 7.5 \ 2 & " " & 10 / 4
Ext.Print 1 + 2 & 3 & " " & "1" + 2 & " " & "1" + "2" & " " & "1" & 2
Ext.Print TypeName(1) & " " & TypeName(32767 + 1) & " " & TypeName(2147483647 + 1) & " " & TypeName(1.5)
Ext.Print TypeName(100 * 400) & " " & TypeName(32767) & " " & TypeName(32768) & " " & TypeName(5 / 1)
Ext.Print TypeName(True + 1) & " " & (True + 1) & " " & TypeName(Empty + 1) & " " & TypeName("3" * 2)
Ext.Print "[" & Null & "] " & IsNull(Null + 1) & " " & IsNull(Null & "x") & " " & IsNull(Null = Null)
Ext.Print (Empty = 0) & " " & (Empty = "") & " " & ("" = 0) & " " & IsEmpty(Empty)
Ext.Print (1 = 1.0) & " " & ("abc" < "abd") & " " & ("a" < "B") & " " & (10 < 9) & " " & ("10" < "9")
Ext.Print (Not True) & " " & (Not 0) & " " & (Not 5) & " " & (12 And 10) & " " & (12 Or 3) & " " & (12 Xor 10)
Ext.Print (True And False) & " " & (True Or False) & " " & (True Xor True) & " " & (True Eqv True) & " " & (False Imp False)
Ext.Print (5 Eqv 3) & " " & (5 Imp 3) & " " & (Null And False) & " " & IsNull(Null Or False) & " " & (Null Or True)
Ext.Print Not 1 = 2 & " " & (1 < 2 And 2 < 3)
Ext.Print &H10 & " " & &HFF & " " & &HFFFF & " " & &HFFFF& & " " & &H7FFFFFFF & " " & &O17 & " " & &17
Ext.Print TypeName(&HFF) & " " & TypeName(&H10000) & " " & 1E3 & " " & 1.5E-3 & " " & .5
Ext.Print TypeName(#1/2/2003#) & " " & Year(#12/31/1999#) & " " & Month(#2003-04-05#) & " " & Hour(#10:30:00 PM#)
Ext.Print #1/2/2003# + 1 & " " & TypeName(#1/2/2003# + 1) & " " & CDbl(#12/31/1899#)
Dim o1, o2
Set o1 = CreateObject("Scripting.Dictionary")
Set o2 = o1
Ext.Print (o1 Is o2) & " " & (o1 Is Nothing) & " " & (Nothing Is Nothing)
Ext.Print 0.1 + 0.2 & " " & 1 / 3 & " " & 1E+20 * 10 & " " & 123456789012 & " " & -0.5
Ext.Print "a" & 1 + 2 & "b" & " " & 3 - 1 & "x"
' Neighbouring precedence levels, each grouped the way only the right order prints; then left association.
Ext.Print (7 \ 2 * 2) & " " & (9 Mod 8 \ 2) & " " & (1 + 7 Mod 4) & " " & ("a" & "b" = "ab") & " " & (Not 0 And 0)
Ext.Print (1 Or 1 And 0) & " " & (1 Xor 1 Or 1) & " " & (0 Imp 0 Eqv 0) & " " & (10 - 2 - 3) & " " & (8 \ 4 \ 2) & " " & (100 / 10 / 2)
