// The comparison key of a statement: two statements are the same step when
// their keys are equal. Per physical line, the comment that ends it (an
// apostrophe outside a string literal, with the blanks before it), the
// trailing " _" and the blanks and tabs at both ends go; the lines are
// joined with one blank. ASCII letters outside string literals are folded to
// lower case (VB does not tell "Dim x" from "DIM X"); string literals stay
// exactly as written, and the second byte of a double-byte character is
// never folded.
#pragma once

#include "analysis/source/lexer.h"
#include "analysis/source/module_scan.h"

#include <string>
#include <string_view>

namespace kolvane {

// Appends the key text of one physical line to key.
void AppendLineKey(std::string_view line, LeadByteTest isLeadByte, std::string& key);

// The text with its ASCII letters in lower case, trail bytes kept: how names
// and file titles are compared.
std::string FoldCase(std::string_view text, LeadByteTest isLeadByte);

// The key of a whole statement. Pieces of one physical line (a line longer
// than the counter's read) are put together before the line is keyed.
std::string StatementKey(const ModuleScan& module, const Statement& statement, LeadByteTest isLeadByte);
void AppendStatementKey(const ModuleScan& module, const Statement& statement, LeadByteTest isLeadByte,
                        std::string& key);

}  // namespace kolvane
