' Eval, Execute, ExecuteGlobal and GetRef.
Dim g
g = 10
Ext.Print Eval("g * 2 + 1") & " " & Eval("Len(""abc"")") & " " & Eval("g = 10")
Execute "g = g + 5"
Ext.Print g
Execute "Dim made : made = ""global text"""
Ext.Print made
ExecuteGlobal "Function Square(n) : Square = n * n : End Function"
Ext.Print Square(7)
Function UsesLocals(a)
  Dim b
  b = 3
  UsesLocals = Eval("a * b")
  Execute "b = b * 100"
  UsesLocals = UsesLocals & " " & b
End Function
Ext.Print UsesLocals(4)
Sub Greet(name)
  Ext.Print "hello " & name
End Sub
Dim f
Set f = GetRef("Greet")
f "world"
Call f("again")
Function Twice(n)
  Twice = n * 2
End Function
Set f = GetRef("Twice")
Ext.Print f(21)
On Error Resume Next
Execute "this is not valid"
Ext.Print "syntax error " & Err.Number
Err.Clear
x = Eval("1 +")
Ext.Print "eval error " & Err.Number
