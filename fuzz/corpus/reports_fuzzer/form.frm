VERSION 5.00
Begin VB.Form Form1
   Caption = "Form1"
End
Attribute VB_Name = "Form1"
Attribute VB_Exposed = False
Option Explicit

' ŠJŽn
Private Declare Function GetTickCount Lib "kernel32" () As Long
Private Sub Form_Load()
    Count = 0 ' reset
End Sub
Sub Refresh(ByVal a As Long, _
    ByVal b As Long)
End Sub
Function Twice(ByVal x As Long) As Long
End Function
