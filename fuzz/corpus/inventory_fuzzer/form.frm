VERSION 5.00
Object = "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0"; "MSCOMCTL.OCX"
Begin VB.Form Main
   BeginProperty Font
   EndProperty
   Begin VB.Frame fra
      Begin VB.TextBox txt
         Index = 0
      End
      Begin VB.TextBox txt
         Index = 1
      End
   End
   Begin MSComctlLib.ListView lv
   End
End
Attribute VB_Name = "Main"
Attribute VB_Exposed = False
Private Sub Form_Load()
    On Error GoTo Failed
    Set o = CreateObject("A.B")
    Exit Sub
Failed:
    End
End Sub
