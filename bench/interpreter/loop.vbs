' Ten million iterations of integer arithmetic.
Function Arithmetic()
  Dim i, total
  total = 0
  For i = 1 To 10000000
    total = total + (i Mod 7) * 3 - 1
  Next
  Arithmetic = total
End Function

Ext.Print Arithmetic()
