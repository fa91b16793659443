Attribute VB_Name = "modTools"
Option Explicit

' ŠÔŒv‘ª‚Ì¬“¹‹ï
Private Declare PtrSafe Function timeGetTime Lib "winmm.dll" () As Long

Sub Main()
    Dim watch As New CTimer
    watch.Start
    MsgBox "Œo‰ß: " & watch.Elapsed & " ms", _
        vbInformation
End Sub
