' On Error Resume Next, the Err object and the numbers users know.
Sub Check(label)
  Ext.Print label & ": " & Err.Number & " " & Err.Description
  Err.Clear
End Sub
Class Plain
  Public Value
End Class
Function Fails()
  Fails = "before"
  Dim z
  z = 1 / 0
  Fails = "after"
End Function
Function Deep(n)
  Deep = Deep(n + 1)
End Function

On Error Resume Next
Dim arr(2), x, obj
x = CInt("abc") : Check "13"
x = CInt(40000) : Check "6"
x = arr(5) : Check "9"
x = 1 \ 0 : Check "11"
x = Mid("abc", 0) : Check "5"
x = Len() : Check "450"
x = obj.Value : Check "424"
Set obj = New Plain
obj.Missing : Check "438"
x = Fails() : Check "in a function"
Ext.Print "x stays [" & x & "]"
Err.Raise 1000, "MySource", "My description"
Ext.Print Err.Number & " " & Err.Source & " " & Err.Description
Err.Clear
Err.Raise 9
Check "raise 9"
x = Deep(1) : Check "28"
Ext.Print "error in condition"
If 1 / 0 = 1 Then
  Ext.Print "then branch runs after an error in the condition"
End If
Check "condition"
On Error GoTo 0
Ext.Print "number after GoTo 0: " & Err.Number
Dim y
y = Array(1, 2)(7)
Ext.Print "not reached"
