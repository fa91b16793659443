VERSION 5.00
Begin VB.UserControl ucGauge
   ClientHeight    =   480
   ClientLeft      =   0
   ClientTop       =   0
   ClientWidth     =   2400
   PropertyPages   =   "ucGauge.ctx":0000
   ScaleHeight     =   480
   ScaleWidth      =   2400
   Begin VB.Shape shpBar
      BackColor       =   &H0000C000&
      BackStyle       =   1  'Opaque
      Height          =   480
      Left            =   0
      Top             =   0
      Width           =   0
   End
End
Attribute VB_Name = "ucGauge"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = True
Attribute VB_PredeclaredId = False
Attribute VB_Exposed = True
Option Explicit

'----------------------------------------------------------
' 進捗ゲージ: 0 から 100 までの値を棒で表示する
'----------------------------------------------------------

Private m_Value As Integer

Public Event Changed(ByVal newValue As Integer)

Public Property Get Value() As Integer
    Value = m_Value
End Property

Public Property Let Value(ByVal newValue As Integer)
    If newValue < 0 Then newValue = 0
    If newValue > 100 Then newValue = 100
    m_Value = newValue
    PropertyChanged "Value"
    Redraw
    RaiseEvent Changed(m_Value)
End Property

Private Sub UserControl_Resize()
    Redraw
End Sub

Private Sub Redraw()
    shpBar.Height = ScaleHeight
    shpBar.Width = ScaleWidth * m_Value \ 100 ' 幅は値に比例
End Sub
