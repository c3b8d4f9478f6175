' A string built from 100,000 pieces.
Function Build()
  Dim s, i
  s = ""
  For i = 1 To 100000
    s = s & "x" & i
  Next
  Build = Len(s)
End Function

Ext.Print Build()
