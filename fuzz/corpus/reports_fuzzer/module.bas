Attribute VB_Name = "Module1"
Option Explicit
Option Base 1
Public Declare Function SendMessage Lib "user32" Alias "SendMessageA" _
    (ByVal hWnd As Long, ByVal wMsg As Long) As Long
' Private Declare Sub Old Lib "x" ()
Sub Main()
End Sub
Private Sub Resize(a As Long, _

    b As Long)
    Total = Total + _
        n
Private Declare Sub Beep Lib "kernel32" ()
