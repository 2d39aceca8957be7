// The text of a form resource, parsed into a tree, and printed back.
//
//   object MainForm: TMainForm            // "object Name: TClass", or "object TClass" unnamed
//     Caption = 'Qorn'#13#10'next line'    // quoted, '' for a quote, #nnn character codes,
//     Hint = 'a long text ' +              //   pieces joined with + across lines
//       'goes on'
//     Width = 320                          // integers (-5, $1F), floats (1.5, 2e3)
//     Align = alClient                     // identifiers: enums, True/False, colours, references
//     Font.Style = [fsBold, fsItalic]      // sets; dotted names reach sub-objects
//     Items.Strings = (                    // lists of values
//       'one'
//       'two')
//     Columns = <                          // collections
//       item
//         Width = 40
//       end>
//     Glyph.Data = {0A1B2C}                // binary data in hex
//     OnClick = ButtonClick                // event handlers by name
//     object Button1: TButton              // children
//     end
//   end
//
// The text is UTF-8 (a BOM is skipped); `//` starts a comment to the end of the line.
// Syntax errors throw EFormReadError naming the resource and the line.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "vcl/Classes.h"

// "Form resource MAINFORM, line 12: ..."; Resource(), Line() and Text() keep the parts.
class EFormReadError : public EReadError {
 public:
  EFormReadError(const std::wstring& resource, int line, const std::wstring& text);
  const std::wstring& Resource() const { return FResource; }
  int Line() const { return FLine; }
  const std::wstring& Text() const { return FText; }

 private:
  std::wstring FResource;
  int FLine;
  std::wstring FText;
};

enum class TFormValueKind { Integer, Float, String, Ident, Set, List, Collection, Binary };

struct TFormProperty;

// Equality of trees ignores line numbers.
struct TFormItem {
  int Line = 0;
  std::vector<TFormProperty> Properties;
  bool operator==(const TFormItem&) const;
};

struct TFormValue {
  TFormValueKind Kind = TFormValueKind::Integer;
  int Line = 0;
  int64_t Integer = 0;
  double Float = 0;
  std::wstring Text;                 // String, Ident
  std::vector<std::wstring> Names;   // Set
  std::vector<TFormValue> List;      // List
  std::vector<TFormItem> Items;      // Collection
  std::vector<uint8_t> Bytes;        // Binary

  bool operator==(const TFormValue&) const;
};

struct TFormProperty {
  std::wstring Name;  // may be dotted: "Font.Style"
  int Line = 0;
  TFormValue Value;
  bool operator==(const TFormProperty&) const;
};

struct TFormObject {
  std::wstring Name;  // empty for an unnamed object
  std::wstring ClassName;
  int Line = 0;
  std::vector<TFormProperty> Properties;
  std::vector<TFormObject> Children;
  bool operator==(const TFormObject&) const;
};

// Nesting deeper than this (objects, lists, collections) is refused as an error.
inline constexpr int MaxFormNesting = 100;

TFormObject ParseFormText(std::string_view text, const std::wstring& resourceName);
// Prints a tree in the syntax above (two spaces per level, UTF-8).
std::string PrintFormText(const TFormObject& root);
