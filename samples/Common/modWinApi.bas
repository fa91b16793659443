Attribute VB_Name = "modWinApi"
Option Explicit

'==========================================================
' Windows API の宣言と、それを使う小さな関数
'   複数のプロジェクトから ..\Common\modWinApi.bas として使う
'==========================================================

Public Const MAX_PATH As Long = 260
Public Const SW_SHOWNORMAL As Long = 1

Public Declare Function FindWindow Lib "user32" Alias "FindWindowA" _
    (ByVal lpClassName As String, ByVal lpWindowName As String) As Long

Public Declare Function GetWindowsDirectory Lib "kernel32" _
    Alias "GetWindowsDirectoryA" _
    (ByVal lpBuffer As String, ByVal nSize As Long) As Long

Public Declare Function ShellExecute Lib "shell32.dll" Alias "ShellExecuteA" ( _
    ByVal hWnd As Long, ByVal lpOperation As String, ByVal lpFile As String, _
    ByVal lpParameters As String, ByVal lpDirectory As String, _
    ByVal nShowCmd As Long) As Long

Public Declare Sub Sleep Lib "kernel32" (ByVal dwMilliseconds As Long)

' 設定ファイル (INI) の読み書き
Public Declare Function GetPrivateProfileString Lib "kernel32" _
    Alias "GetPrivateProfileStringA" (ByVal lpApplicationName As String, _
    ByVal lpKeyName As Any, ByVal lpDefault As String, _
    ByVal lpReturnedString As String, ByVal nSize As Long, _
    ByVal lpFileName As String) As Long
Public Declare Function WritePrivateProfileString Lib "kernel32" _
    Alias "WritePrivateProfileStringA" (ByVal lpApplicationName As String, _
    ByVal lpKeyName As Any, ByVal lpString As Any, _
    ByVal lpFileName As String) As Long

'----------------------------------------------------------
' Windows フォルダのパスを返す
'----------------------------------------------------------
Public Function WindowsFolder() As String
    Dim buffer As String
    Dim length As Long

    buffer = String$(MAX_PATH, vbNullChar)
    length = GetWindowsDirectory(buffer, MAX_PATH)
    WindowsFolder = Left$(buffer, length)
End Function

' 関連付けられたアプリケーションでファイルやフォルダを開く
Public Sub OpenDocument(ByVal ownerWnd As Long, ByVal path As String)
    ShellExecute ownerWnd, "open", path, vbNullString, vbNullString, _
                 SW_SHOWNORMAL
End Sub

Public Function ReadSetting(ByVal iniPath As String, ByVal section As String, _
                            ByVal key As String, _
                            Optional ByVal defaultValue As String = "") As String
    Dim buffer As String
    Dim length As Long

    buffer = String$(1024, vbNullChar)
    length = GetPrivateProfileString(section, key, defaultValue, buffer, Len(buffer), iniPath)
    ReadSetting = Left$(buffer, length)
End Function
