' Classes: fields, properties, default member, Initialize/Terminate, Me, New, Nothing and Is.
Class Counter
  Private count_
  Public Name

  Private Sub Class_Initialize()
    count_ = 0
    Name = "counter"
    Ext.Print "initialize"
  End Sub

  Private Sub Class_Terminate()
    Ext.Print "terminate " & Name
  End Sub

  Public Property Get Count()
    Count = count_
  End Property

  Public Property Let Count(value)
    If value < 0 Then Err.Raise 5
    count_ = value
  End Property

  Public Sub Increment(by)
    count_ = count_ + by
  End Sub

  Public Function Self()
    Set Self = Me
  End Function

  Public Default Function Describe()
    Describe = Name & ":" & count_
  End Function
End Class

Class Holder
  Private item_
  Public Property Set Item(value)
    Set item_ = value
  End Property
  Public Property Get Item()
    Set Item = item_
  End Property
End Class

Dim c, d, h
Set c = New Counter
c.Increment 2
c.Count = c.Count + 5
Ext.Print c.Count & " " & c.Describe & " " & c
Ext.Print TypeName(c) & " " & VarType(c) & " " & IsObject(c)
Set d = c.Self()
Ext.Print (d Is c) & " " & (d Is Nothing)
d.Name = "renamed"
Ext.Print c.Name
With c
  .Increment 1
  Ext.Print .Count & " " & .Name
End With
Set h = New Holder
Set h.Item = c
Ext.Print h.Item.Count
Set d = Nothing
Set h = Nothing
Ext.Print "releasing"
Set c = Nothing
Ext.Print "released"
Dim e
Set e = New Counter
e.Name = "second"
Set e = New Counter
Ext.Print e.Name
Dim nothingVar
Set nothingVar = Nothing
Ext.Print (nothingVar Is Nothing) & " " & TypeName(nothingVar)
Sub Scoped()
  Dim local
  Set local = New Counter
  local.Name = "scoped"
End Sub
Scoped
Ext.Print "end"
