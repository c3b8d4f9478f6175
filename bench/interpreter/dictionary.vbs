' 100,000 dictionary insertions and lookups.
Function DictionaryTest()
  Dim d, i, total
  Set d = CreateObject("Scripting.Dictionary")
  For i = 1 To 100000
    d.Add "k" & i, i
  Next
  total = 0
  For i = 1 To 100000
    total = total + d("k" & i)
  Next
  DictionaryTest = total
End Function

Ext.Print DictionaryTest()
