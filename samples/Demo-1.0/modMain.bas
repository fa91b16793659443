Attribute VB_Name = "modMain"
Option Explicit

'----------------------------------------------------------
' 起動処理とアプリケーション共通の関数
'----------------------------------------------------------

Public Const APP_TITLE As String = "受注管理デモ"

Public gLogPath As String

Sub Main()
    ' ログファイルは実行ファイルと同じフォルダに置く
    gLogPath = App.Path & "\demo.log"
    If IsAlreadyRunning(APP_TITLE) Then
        MsgBox "既に起動しています。", vbExclamation, APP_TITLE
        Exit Sub
    End If
    WriteLog "起動しました"
    frmMain.Show
End Sub

Public Function FormatYen(ByVal amount As Currency) As String
    FormatYen = Format$(amount, "#,##0") & "円"
End Function

Public Sub WriteLog(ByVal message As String)
    Dim fileNo As Integer

    On Error GoTo Failed
    fileNo = FreeFile
    Open gLogPath For Append As #fileNo
    Print #fileNo, Format$(Now, "yyyy/mm/dd hh:nn:ss"); " "; message
    Close #fileNo
    Exit Sub
Failed:
    ' ログが書けなくても処理は続ける
    If fileNo <> 0 Then Close #fileNo
End Sub

Private Function IsAlreadyRunning(ByVal title As String) As Boolean
    IsAlreadyRunning = App.PrevInstance And (FindWindow(vbNullString, title) <> 0)
End Function

Public Sub ClearLog()
    On Error Resume Next
    Kill gLogPath
End Sub
