' Filling and summing an array of one million elements.
Function ArraySum()
  Dim a(), i, total
  ReDim a(999999)
  For i = 0 To 999999
    a(i) = i * 2
  Next
  total = 0
  For i = 0 To 999999
    total = total + a(i)
  Next
  ArraySum = total
End Function

Ext.Print ArraySum()
