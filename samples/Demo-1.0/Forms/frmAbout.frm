VERSION 5.00
Begin VB.Form frmAbout 
   BorderStyle     =   3  'Fixed Dialog
   Caption         =   "バージョン情報"
   ClientHeight    =   1815
   ClientLeft      =   45
   ClientTop       =   330
   ClientWidth     =   4215
   LinkTopic       =   "Form1"
   MaxButton       =   0   'False
   MinButton       =   0   'False
   ScaleHeight     =   1815
   ScaleWidth      =   4215
   ShowInTaskbar   =   0   'False
   StartUpPosition =   1  'CenterOwner
   Begin VB.CommandButton cmdOK 
      Cancel          =   -1  'True
      Caption         =   "OK"
      Default         =   -1  'True
      Height          =   375
      Left            =   2760
      TabIndex        =   0
      Top             =   1320
      Width           =   1215
   End
   Begin VB.Label lblWindows 
      Caption         =   "Windows フォルダ"
      ForeColor       =   &H00FF0000&
      Height          =   255
      Left            =   120
      MousePointer    =   99  'Custom
      TabIndex        =   3
      Top             =   960
      Width           =   3975
   End
   Begin VB.Label lblVersion 
      Caption         =   "バージョン"
      Height          =   255
      Left            =   120
      TabIndex        =   2
      Top             =   600
      Width           =   3975
   End
   Begin VB.Label lblTitle 
      Caption         =   "受注管理デモ"
      Height          =   255
      Left            =   120
      TabIndex        =   1
      Top             =   240
      Width           =   3975
   End
End
Attribute VB_Name = "frmAbout"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

' バージョン情報ダイアログ
' Windows フォルダの表示には modWinApi の関数を使う

Private Sub Form_Load()
    lblTitle.Caption = APP_TITLE
    lblVersion.Caption = "バージョン " & App.Major & "." & App.Minor & "." & App.Revision
    lblWindows.Caption = "Windows フォルダ: " & WindowsFolder()
End Sub

Private Sub cmdOK_Click()
    Unload Me
End Sub

Private Sub lblWindows_Click()
    ' エクスプローラーでフォルダを開く
    OpenDocument Me.hWnd, WindowsFolder()
End Sub
