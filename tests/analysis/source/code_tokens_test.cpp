#include "analysis/source/code_tokens.h"

#include "analysis/source/code_page.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

namespace kolvane {
namespace {

// Each statement as "first-last: tokens", a first word marked with "*", an
// attribute line's token with "@", a comment as "#" and its text.
class Recorder {
public:
    void Statement(const CodeStatement& statement)
    {
        statements.push_back(std::to_string(statement.firstLine) + "-" + std::to_string(statement.lastLine) + ":");
    }
    void Token(const CodeToken& code)
    {
        std::string& text = statements.back();
        text += " ";
        if (code.firstWord) text += "*";
        if (code.attributeLine) text += "@";
        if (code.token.kind == TokenKind::Comment) text += "#";
        text += std::string(code.token.text);
    }
    std::vector<std::string> statements;
};

std::vector<std::string> Read(std::string_view bytes, ModuleKind kind = ModuleKind::Bas)
{
    ModuleScan module;
    ScanModule(bytes, false, kind, module);
    Recorder recorder;
    ReadCode(module, &IsShiftJisLeadByte, recorder);
    return recorder.statements;
}

struct Case {
    const char* what;
    std::string source;
    std::vector<std::string> statements;
};

TEST(CodeTokens, StatementsFirstWordsAndComments)
{
    const Case cases[] = {
        {"continued lines are one statement; a blank line one of its own",
         "x = a + _\r\n  b\r\n\r\ny = 1\r\n",
         {"1-2: *x = a + b", "3-3:", "4-4: *y = 1"}},
        {"separators, single-line If, Then and Else",
         "If a Then b = 1 Else LSet c = d: End\r\nIf a Then\r\nElse\r\n",
         {"1-1: *If a Then *b = 1 Else *LSet c = d : *End", "2-2: *If a Then", "3-3: *Else"}},
        {"a line number or label is the first word, the word after it not; Else before : is no label",
         "20 LSet a = b\r\nStart: End\r\n10: End\r\nElse: End\r\n",
         {"1-1: *20 LSet a = b", "2-2: *Start : End", "3-3: *10 : End", "4-4: *Else : *End"}},
        {"Rem at a line's start or after a separator; after a line number or label it is a word",
         "Rem note\r\nx = 1:  rem note\r\n10 Rem x\r\nRemark = 1\r\nRetry: Rem x\r\nEnd: Rem x\r\n",
         {"1-1: #Rem note", "2-2: *x = 1 : #rem note", "3-3: *10 Rem x", "4-4: *Remark = 1", "5-5: *Retry : Rem x",
          "6-6: *End : #Rem x"}},
        {"a continued line labels nothing: its \":\" is a separator, a Rem after it a comment",
         "MsgBox a, _\r\n  title: End\r\nIf a Then _\r\n  Beep: Rem x\r\n",
         {"1-2: *MsgBox a , title : *End", "3-4: *If a Then *Beep : #Rem x"}},
        {"after a Rem line that a \" _\" inside it continues, the next line begins no statement",
         "Rem a _ b\r\nEnd\r\nx = 1: Rem a _ b\r\nEnd\r\n",
         {"1-2: #Rem a _ b End", "3-4: *x = 1 : #Rem a _ b End"}},
        {"a comment ending in \" _\" goes on to the next line, blanks after it too",
         "' one _  \r\n two _\r\nthree\r\nx = 1 ' c\r\n",
         {"1-1: #' one _  ", "2-3: # two _ #three", "4-4: *x = 1 #' c"}},
        {"an orphan continued line is a statement of its own",
         "x = 1 _\r\n' c\r\ny = 2\r\n",
         {"1-1: *x = 1", "2-2: #' c", "3-3: *y = 2"}},
        {"attribute lines, whatever the case",
         "Sub A()\r\nattribute A.VB_UserMemId = 0\r\nEnd Sub\r\n",
         {"1-1: *Sub A ( )", "2-2: *@attribute @A @. @VB_UserMemId @= @0", "3-3: *End Sub"}},
        {"brackets, numbers, type characters, :=",
         "[End]! = &HFF& + 1.5E + Foo$(x:=2)\r\n",
         {"1-1: *[End]! = &HFF& + 1.5E + Foo$ ( x := 2 )"}},
        {"a line longer than the counter's read is one statement",
         "x = " + std::string(600, 'a') + "\r\n",
         {"1-1: *x = " + std::string(600, 'a')}},
    };
    for (const Case& c : cases) EXPECT_EQ(Read(c.source), c.statements) << c.what;

    // A form's code begins after its header; its lines keep their numbers.
    EXPECT_EQ(Read("VERSION 5.00\r\nAttribute VB_Exposed = False\r\nDim x\r\n", ModuleKind::Frm),
              (std::vector<std::string>{"3-3: *Dim x"}));
}

TEST(CodeTokens, ABracketedNameReadsDoubleByteCharactersWhole)
{
    // 0x835D holds "]" as its trail byte; it does not close the bracket.
    EXPECT_EQ(Read("x = [a\x83\x5D] + [\x83\x5D\x83\x5B]!\r\n"),
              (std::vector<std::string>{"1-1: *x = [a\x83\x5D] + [\x83\x5D\x83\x5B]!"}));
}

TEST(CodeTokens, StatementsCountTheScansStatementsTheyHold)
{
    const std::string text = "x = 1 _\r\n  + 2\r\n' c\r\n\r\ny = " + std::string(600, 'a') + "\r\n";
    ModuleScan module;
    ScanModule(text, false, ModuleKind::Bas, module);
    struct Steps {
        void Statement(const CodeStatement& statement) { steps.push_back(statement.steps); }
        void Token(const CodeToken&) {}
        std::vector<std::uint32_t> steps;
    } visitor;
    ReadCode(module, &IsShiftJisLeadByte, visitor);
    // A continued statement is one step, a comment or blank line none, a
    // line longer than the counter's read as many as the scan counted.
    EXPECT_EQ(visitor.steps, (std::vector<std::uint32_t>{1, 0, 0, 2}));
    EXPECT_EQ(module.statements[0].lastLine, 2u);
}

// The names a statement's tokens spell (identifiers, words of strings;
// comments and attribute lines aside), and the same read for names alone.
struct TokenNames {
    void Statement(const CodeStatement&) {}
    void Token(const CodeToken& code)
    {
        if (code.attributeLine || code.token.kind == TokenKind::Comment) return;
        if (code.token.kind == TokenKind::Identifier && !code.token.name.empty()) names.emplace_back(code.token.name);
        if (code.token.kind == TokenKind::String) {
            ForEachStringWord(code.token.name, &IsShiftJisLeadByte, [&](std::string_view w) { names.emplace_back(w); });
        }
    }
    std::vector<std::string> names;
};

struct NamesOnly {
    bool Statement(const CodeStatement&) { return false; }
    void Token(const CodeToken& code) { attributeTokens += code.attributeLine ? 1 : 100; }
    void Name(std::string_view name) { names.emplace_back(name); }
    std::vector<std::string> names;
    int attributeTokens = 0;
};

TEST(CodeTokens, ReadingForNamesGivesTheNamesOfTheTokens)
{
    const std::string text =
        "Sub A(x$, [b c]!, \x83\x5F\x83\x5B)\r\n"
        "  x = \"a.b \"\"c\"\" d\" & &HFFz + 1.5E3# ' comment \"e\"\r\n"
        "  If x Then y = 1 Else z: Rem note _\r\n"
        "  continued Rem\r\n"
        "  10 Rem word: Rem comment\r\n"
        "attribute A.VB_UserMemId = 0 ' c _\r\n"
        "  still comment\r\n"
        "  u := v: [unclosed \r\n"
        "  s = \"unclosed\r\n"
        "  t = a _  \r\n"
        "    + b\r\n"
        "  MsgBox a, _\r\n"
        "    title: Rem gone\r\n"
        "  10: Rem x\r\n"
        "  Rem(1) = &o17 + Foo_\r\n"
        "End Sub\r\n";
    ModuleScan module;
    ScanModule(text, false, ModuleKind::Bas, module);
    TokenNames tokens;
    ReadCode(module, &IsShiftJisLeadByte, tokens);
    NamesOnly names;
    ReadCode(module, &IsShiftJisLeadByte, names);
    EXPECT_EQ(names.names, tokens.names);
    EXPECT_EQ(names.attributeTokens, 7);  // the attribute line's six tokens and its comment
    EXPECT_EQ(tokens.names, (std::vector<std::string>{"Sub",       "A",      "x",        "b c",   "\x83\x5F\x83\x5B",
                                                      "x",         "a",      "b",        "c",     "d",
                                                      "If",        "x",      "Then",     "y",     "Else",
                                                      "z",         "Rem",    "word",     "u",     "v",
                                                      "unclosed ", "s",      "unclosed", "t",     "a",
                                                      "b",         "MsgBox", "a",        "title", "Rem",
                                                      "x",         "Rem",    "Foo_",     "End",   "Sub"}));
}

// The statements of the stretch read for the line that holds the word.
std::vector<std::string> ReadStretch(const ModuleScan& module, std::string_view word, CodeLine floor)
{
    const std::size_t offset = module.text.find(word);
    const auto line = static_cast<std::uint32_t>(1 + std::count(module.text.begin(), module.text.begin() + offset, '\n'));
    Recorder recorder;
    CodeReader reader(module, &IsShiftJisLeadByte);
    reader.Read(ReadingStart(module, offset, line, floor), offset, recorder);
    return recorder.statements;
}

TEST(CodeTokens, AStretchReadsItsLinesAsTheWholeCodeDoes)
{
    const std::string source = "a = 1\r\nx = \"q _\": b = _\r\n  c\r\n' note _\r\n more\r\ny = 2\r\n";
    ModuleScan module;
    ScanModule(source, false, ModuleKind::Bas, module);
    EXPECT_EQ(Read(source), (std::vector<std::string>{"1-1: *a = 1", "2-3: *x = \"q _\" : *b = c", "4-4: #' note _",
                                                       "5-5: # more", "6-6: *y = 2"}));

    const CodeLine first = FirstCodeLine(module);
    // A line goes with the lines before it that hold " _", and on to where a
    // statement and a comment end.
    EXPECT_EQ(ReadStretch(module, "c\r", first), (std::vector<std::string>{"2-3: *x = \"q _\" : *b = c"}));
    EXPECT_EQ(ReadStretch(module, "more", first), (std::vector<std::string>{"4-4: #' note _", "5-5: # more"}));
    EXPECT_EQ(ReadStretch(module, "y =", first), (std::vector<std::string>{"6-6: *y = 2"}));
    // Never before the line where the stretch before ended.
    const CodeLine third{source.find("  c"), 3};
    EXPECT_EQ(ReadStretch(module, "c\r", third), (std::vector<std::string>{"3-3: *c"}));

    // Stretches one after the other, the lines between passed over.
    Recorder recorder;
    CodeReader reader(module, &IsShiftJisLeadByte);
    const CodeLine next = reader.Read(first, 0, recorder);
    EXPECT_EQ(next.number, 2u);
    reader.Read(ReadingStart(module, source.find("y ="), 6, next), source.find("y ="), recorder);
    EXPECT_EQ(recorder.statements, (std::vector<std::string>{"1-1: *a = 1", "6-6: *y = 2"}));
}

TEST(CodeTokens, StringWordsAreRunsOfIdentifierCharacters)
{
    // 0x815F and 0x815B are Shift_JIS characters whose trail bytes are "_" and "[".
    const std::string literal = "Form_Load,cmd1.Click \x81\x5F\x81\x5B[x";
    std::vector<std::string> words;
    ForEachStringWord(literal, &IsShiftJisLeadByte, [&](std::string_view word) { words.emplace_back(word); });
    EXPECT_EQ(words, (std::vector<std::string>{"Form_Load", "cmd1", "Click", "\x81\x5F\x81\x5B", "x"}));
}

}  // namespace
}  // namespace kolvane
