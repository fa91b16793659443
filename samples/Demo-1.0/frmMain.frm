VERSION 5.00
Begin VB.Form frmMain 
   BorderStyle     =   1  'Fixed Single
   Caption         =   "受注管理デモ"
   ClientHeight    =   3960
   ClientLeft      =   45
   ClientTop       =   330
   ClientWidth     =   5415
   LinkTopic       =   "Form1"
   MaxButton       =   0   'False
   MinButton       =   0   'False
   ScaleHeight     =   3960
   ScaleWidth      =   5415
   StartUpPosition =   2  'CenterScreen
   Begin VB.CommandButton cmdAbout 
      Caption         =   "バージョン情報(&A)"
      Height          =   375
      Left            =   3960
      TabIndex        =   3
      Top             =   3480
      Width           =   1335
   End
   Begin VB.CommandButton cmdAdd 
      Caption         =   "受注の追加(&D)"
      Default         =   -1  'True
      Height          =   375
      Left            =   120
      TabIndex        =   1
      Top             =   3480
      Width           =   1575
   End
   Begin VB.ListBox lstOrders 
      Height          =   2760
      Left            =   120
      TabIndex        =   0
      Top             =   120
      Width           =   5175
   End
   Begin VB.Label lblTotal 
      Alignment       =   1  'Right Justify
      Caption         =   "合計: 0円"
      Height          =   255
      Left            =   2640
      TabIndex        =   2
      Top             =   3000
      Width           =   2655
   End
End
Attribute VB_Name = "frmMain"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

'==========================================================
' メイン画面: 受注の一覧、追加、合計金額の表示
'==========================================================

Private Declare Function GetTickCount Lib "kernel32" () As Long
Private Declare Function SendMessage Lib "user32" Alias "SendMessageA" _
    (ByVal hWnd As Long, ByVal wMsg As Long, _
     ByVal wParam As Long, lParam As Any) As Long

Private Const LB_SETHORIZONTALEXTENT As Long = &H194

Private mOrders As COrderList
Private mStarted As Long            ' 起動時刻

Private Sub Form_Load()
    ' 起動時刻を記録しておく
    mStarted = GetTickCount()
    Set mOrders = New COrderList
    Set mOrders.Owner = Me
    RefreshList
End Sub

Private Sub Form_Unload(Cancel As Integer)
    WriteLog "終了しました (" & Format$(ElapsedSeconds(), "0.0") & " 秒)"
    Set mOrders = Nothing
End Sub

Private Sub cmdAdd_Click()
    Dim customer As CCustomer
    Dim answer As String

    Set customer = New CCustomer
    customer.Name = InputBox("顧客名を入力してください", "受注の追加")
    If Len(customer.Name) = 0 Then Exit Sub     ' 取り消された
    answer = ToHalfWidth(InputBox("受注金額を入力してください", "受注の追加", "1000"))
    If Not IsNumeric(answer) Then
        ShowStatus "金額が数字ではありません: " & answer
        Exit Sub
    End If
    If mOrders.Add(customer, CCur(answer)) Then RefreshList
End Sub

Private Sub cmdAbout_Click()
    frmAbout.Show vbModal, Me
End Sub

Private Sub RefreshList()
    Dim i As Long

    lstOrders.Clear
    For i = 1 To mOrders.Count
        lstOrders.AddItem FormatOrder(mOrders.Item(i), i)
    Next i
    lblTotal.Caption = "合計: " & FormatYen(mOrders.Total)
    ' 長い行のために横スクロールバーを出す
    SendMessage lstOrders.hWnd, LB_SETHORIZONTALEXTENT, _
                ScaleX(lstOrders.Width, vbTwips, vbPixels) * 3, ByVal 0&
End Sub

Private Function FormatOrder(ByVal text As String, _
                             ByVal index As Long) As String
    FormatOrder = Format$(index, "000") & "  " & text
End Function

Sub ShowStatus(ByVal text As String)
    Caption = APP_TITLE & " - " & text
End Sub

Public Function ElapsedSeconds() As Double
    ElapsedSeconds = (GetTickCount() - mStarted) / 1000#
End Function
