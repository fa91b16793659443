Attribute VB_Name = "M"
Option Explicit
Option Base 1
DefInt A-Z
Private Declare Sub S Lib "k" (p As Any)
Dim s As String * 10
Sub Main()
    On Local Error Resume Next
    If x Then End Else LSet a = b
    x = "a _ b": On _
      Error GoTo -1
    GoSub 10 ' a comment _
    End
10  p = VarPtr(x): DoEvents
End Sub
