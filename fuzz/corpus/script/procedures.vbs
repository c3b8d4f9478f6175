' Subs and Functions, ByRef and ByVal, Call, Exit and recursion.
Sub Twice(x)
  x = x * 2
End Sub
Sub TwiceByVal(ByVal x)
  x = x * 2
End Sub
Function Add(a, b)
  Add = a + b
End Function
Function Early(n)
  Early = "start"
  If n > 0 Then Exit Function
  Early = "end"
End Function
Sub Report(label, value)
  Ext.Print label & "=" & value
  If value = 0 Then Exit Sub
  Ext.Print "nonzero"
End Sub
Function Factorial(n)
  If n <= 1 Then
    Factorial = 1
  Else
    Factorial = n * Factorial(n - 1)
  End If
End Function
Function NoResult()
End Function
Sub Swap(ByRef p, ByRef q)
  Dim t
  t = p : p = q : q = t
End Sub

Dim v
v = 3
Twice v
Ext.Print "byref " & v
TwiceByVal v
Ext.Print "byval " & v
Twice (v)
Ext.Print "parenthesized " & v
Call Twice(v)
Ext.Print "call " & v
Ext.Print "add " & Add(2, 3) & " " & Add("a", "b")
Ext.Print Early(1) & " " & Early(0)
Report "zero", 0
Call Report("one", 1)
Ext.Print "factorial " & Factorial(10)
Ext.Print "empty result [" & NoResult() & "] " & IsEmpty(NoResult())
Dim m, n
m = "left" : n = "right"
Swap m, n
Ext.Print m & " " & n

Function Outer()
  Dim local
  local = "outer local"
  Inner
  Outer = local
End Function
Sub Inner()
  local = "inner implicit"
End Sub
Ext.Print Outer()
Dim shared
shared = 1
Sub Bump()
  shared = shared + 1
End Sub
Bump : Bump
Ext.Print "global " & shared
Ext.Print "forward " & Later(4)
Function Later(x)
  Later = x * x
End Function
