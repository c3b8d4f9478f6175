' Scripting.Dictionary and Scripting.FileSystemObject.
Dim d, k, fso, folder, path, stream, line
Set d = CreateObject("Scripting.Dictionary")
d.Add "one", 1
d.Add "two", 2
d("three") = 3
d.Item("one") = 100
Ext.Print d.Count & " " & d("one") & " " & d.Exists("two") & " " & d.Exists("four")
For Each k In d
  Ext.Print k & "=" & d(k)
Next
Ext.Print Join(d.Keys, ",") & " " & Join(d.Items, ",")
d.Remove "two"
Ext.Print d.Count & " " & d.Exists("two")
On Error Resume Next
d.Add "one", 5
Ext.Print "duplicate key: " & Err.Number
Err.Clear
On Error GoTo 0
d.RemoveAll
Ext.Print d.Count

Set fso = CreateObject("Scripting.FileSystemObject")
folder = "%TESTDIR%"
path = fso.BuildPath(folder, "notes.txt")
Set stream = fso.CreateTextFile(path, True)
stream.WriteLine "first"
stream.Write "second"
stream.Close
Set stream = fso.OpenTextFile(path, 8)
stream.WriteLine ""
stream.WriteLine "third"
stream.Close
Ext.Print fso.FileExists(path) & " " & fso.FolderExists(folder) & " " & fso.GetFileName(path)
Set stream = fso.OpenTextFile(path, 1)
Do Until stream.AtEndOfStream
  line = stream.ReadLine
  Ext.Print "read: " & line
Loop
stream.Close
fso.CopyFile path, fso.BuildPath(folder, "copy.txt")
fso.MoveFile fso.BuildPath(folder, "copy.txt"), fso.BuildPath(folder, "moved.txt")
Ext.Print fso.FileExists(fso.BuildPath(folder, "copy.txt")) & " " & fso.FileExists(fso.BuildPath(folder, "moved.txt"))
fso.CreateFolder fso.BuildPath(folder, "sub")
Ext.Print fso.FolderExists(fso.BuildPath(folder, "sub"))
fso.DeleteFolder fso.BuildPath(folder, "sub")
fso.DeleteFile fso.BuildPath(folder, "moved.txt")
Ext.Print fso.FolderExists(fso.BuildPath(folder, "sub")) & " " & fso.FileExists(fso.BuildPath(folder, "moved.txt"))
On Error Resume Next
Set stream = fso.OpenTextFile(fso.BuildPath(folder, "missing.txt"), 1)
Ext.Print "missing file: " & Err.Number
