Sub Dispatcher__()
  Do
     If Vars(1).Changed Then OnOne:Vars(1).Changed = False
     Ext.Delay 0
  Loop
End Sub
