#!/usr/bin/env python3
"""Writes the two benchmark projects of 255 modules (85 forms, 85 standard
modules, 85 class modules) into a folder:

  generated/Bench.vbp  typical VB6 code, 39,216 lines per module (about 340 MB)
  samples/Bench.vbp    the sample project's sources repeated to 40 MB or more

Sources are Shift_JIS with CR LF line ends, as VB6 writes them.
"""
import pathlib
import sys

MODULES_PER_KIND = 85
GENERATED_LINES = 39_216
SAMPLE_BYTES = 40 * 1024 * 1024

FORM_HEADER = """VERSION 5.00
Begin VB.Form frmMain
   Caption         =   "顧客管理"
   ClientHeight    =   3195
   ClientWidth     =   4680
   Begin VB.CommandButton cmdOK
      Caption         =   "OK"
   End
End
Attribute VB_Name = "frmMain"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
""".splitlines()

PROCEDURE = """
' 顧客情報を読み込んで画面に表示する
Private Function LoadCustomer(ByVal lngID As Long, Optional ByVal blnLock As Boolean = False) As Boolean
    Dim rs As ADODB.Recordset
    Dim strSQL As String
    Dim nIndex As Integer

    On Error GoTo ErrHandler
    ' 検索条件を組み立てる
    strSQL = "SELECT ID, Name, Address, Phone " & _
             "FROM Customers WHERE ID = " & CStr(lngID)
    Set rs = New ADODB.Recordset
    rs.Open strSQL, m_cn, adOpenForwardOnly, adLockReadOnly
    If rs.EOF Then
        MsgBox "該当するデータがありません", vbExclamation
        GoTo ExitProc
    End If
    For nIndex = 0 To txtField.UBound
        txtField(nIndex).Text = Trim$(rs.Fields(nIndex).Value & "")   ' Null を空文字に
    Next nIndex
\tlblStatus.Caption = "読み込み完了"
    LoadCustomer = True
ExitProc:
    If Not rs Is Nothing Then rs.Close
    Set rs = Nothing
    Exit Function
ErrHandler:
    Call LogError("LoadCustomer", Err.Number, Err.Description)
    Resume ExitProc
End Function""".split("\n")


def generated_module(with_header):
    lines = list(FORM_HEADER) if with_header else ['Attribute VB_Name = "modMain"', "Option Explicit"]
    i = 0
    while len(lines) < GENERATED_LINES:
        lines.append(PROCEDURE[i % len(PROCEDURE)])
        i += 1
    return ("\r\n".join(lines) + "\r\n").encode("cp932")


def write_project(folder, sources):
    """sources: kind -> bytes of one module of that kind."""
    folder.mkdir(parents=True, exist_ok=True)
    lines = ["Type=Exe"]
    for n in range(MODULES_PER_KIND):
        for kind, data in sources.items():
            name = f"{kind.capitalize()}{n}.{kind}"
            (folder / name).write_bytes(data)
            if kind == "frm":
                lines.append(f"Form={name}")
            elif kind == "bas":
                lines.append(f"Module=M{n}; {name}")
            else:
                lines.append(f"Class=C{n}; {name}")
    (folder / "Bench.vbp").write_bytes(("\r\n".join(lines) + "\r\n").encode("ascii"))


def repeated_body(data, with_header, target):
    """The sample module grown by repeating its code after the header."""
    text = data.replace(b"\r\n", b"\n").decode("cp932")
    lines = text.split("\n")
    cut = 0
    if with_header:
        cut = next(i for i, line in enumerate(lines) if "Attribute VB_Exposed" in line) + 1
    head, body = lines[:cut], [line for line in lines[cut:]]
    out = list(head)
    size = 0
    while size < target:
        out.extend(body)
        size += sum(len(line) + 2 for line in body)
    return "\r\n".join(out).encode("cp932")


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "build/bench")
    repo = pathlib.Path(__file__).resolve().parent.parent
    generated = root / "generated"
    if not (generated / "Bench.vbp").exists():
        write_project(generated, {"frm": generated_module(True), "bas": generated_module(False),
                                  "cls": generated_module(True)})
    samples = root / "samples"
    if not (samples / "Bench.vbp").exists():
        per_module = SAMPLE_BYTES // (3 * MODULES_PER_KIND) + 1
        demo = repo / "samples" / "Demo"
        sources = {
            "frm": repeated_body((demo / "frmMain.frm").read_bytes(), True, per_module),
            "bas": repeated_body((demo / "modMain.bas").read_bytes(), False, per_module),
            "cls": repeated_body(next((demo / "Classes").glob("*.cls")).read_bytes(), True, per_module),
        }
        write_project(samples, sources)
    print(generated / "Bench.vbp")
    print(samples / "Bench.vbp")


if __name__ == "__main__":
    main()
