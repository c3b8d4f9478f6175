' Declarations, branches, loops and statement separators.
Option Explicit
Dim a, b(2), c()
Const Greeting = "hi", Limit = 3
a = 1 : b(0) = "zero" : b(2) = "two"
Ext.Print a & " " & b(0) & " [" & b(1) & "] " & b(2) & " " & Greeting & Limit
ReDim c(1)
c(0) = "x" : c(1) = "y"
ReDim Preserve c(3)
Ext.Print UBound(c) & " " & c(0) & c(1) & "[" & c(3) & "]"
ReDim c(1)
Ext.Print "[" & c(0) & "]"
Erase b
Ext.Print "[" & b(0) & "] " & UBound(b)

Rem block If with ElseIf and Else
Dim n
For n = 1 To 4
  If n = 1 Then
    Ext.Print "one"
  ElseIf n = 2 Then
    Ext.Print "two"
  ElseIf n = 3 Then Ext.Print "three"
  Else
    Ext.Print "many"
  End If
Next
' single-line forms
If a = 1 Then Ext.Print "single" Else Ext.Print "never"
If a = 2 Then Ext.Print "never" Else Ext.Print "else": Ext.Print "and more"
If a = 1 Then Ext.Print "first": Ext.Print "second"

Select Case "b"
  Case "a": Ext.Print "is a"
  Case "b", "c": Ext.Print "is b or c"
  Case Else: Ext.Print "other"
End Select
For n = 0 To 12 Step 4
  Select Case n
    Case 0
      Ext.Print n & " zero"
    Case 1 To 5
      Ext.Print n & " small"
    Case Is >= 10
      Ext.Print n & " large"
    Case Else
      Ext.Print n & " medium"
  End Select
Next

Dim s
s = ""
For n = 10 To 1 Step -3 : s = s & n & " " : Next
Ext.Print s
s = ""
For n = 0 To 1 Step 0.25
  s = s & n & ";"
Next
Ext.Print s
For n = 5 To 1
  Ext.Print "never runs"
Next
Ext.Print "after empty loop n=" & n

n = 0
Do While n < 3
  n = n + 1
Loop
Ext.Print "do while " & n
Do Until n = 0
  n = n - 1
Loop
Ext.Print "do until " & n
Do
  n = n + 1
Loop While n < 5
Ext.Print "loop while " & n
Do
  n = n + 10
Loop Until n > 30
Ext.Print "loop until " & n
Do
  n = n + 1
  If n Mod 7 = 0 Then Exit Do
Loop
Ext.Print "exit do " & n
While n > 40
  n = n - 2
Wend
Ext.Print "wend " & n
For n = 1 To 100
  If n = 4 Then Exit For
Next
Ext.Print "exit for " & n
Dim item, total
total = 0
For Each item In Array(1, 2, 3, 4)
  If item = 3 Then Exit For
  total = total + item
Next
Ext.Print "for each " & total

Ext.Print "continued " & _
  "line"
Dim longSum : longSum = 1 + _
                        2 + _
                        3
Ext.Print longSum
