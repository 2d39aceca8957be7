// "stgex.ini" as a whole document: read whole, change whole sections, write whole.
// Lines are kept as they stand, so sections and lines this program does not know
// survive a save. Sections are found without regard to case, as Windows does.
#pragma once
#include <string>
#include <string_view>
#include <vector>

using TSettingsLines = std::vector<std::string>;

class TIniDocument {
 public:
  static TIniDocument Parse(std::string_view bytes);

  // The section's entries as name=value lines, in file order: names and values
  // trimmed of blanks as the platform's INI reader does, comment (";") and blank
  // lines left out, a line without "=" taken as a name with an empty value. A
  // name written twice keeps its first line, as the platform's reader sees it.
  // An absent section gives no lines.
  TSettingsLines ReadSection(std::string_view section) const;

  // Erases every section of that name and appends it anew with the list's
  // entries: the name is the text before the first "=", the value the rest.
  // Lines with no name are left out (they could not be read back); a name that
  // comes again updates the earlier line, so the file holds each name once.
  void WriteSection(std::string_view section, const TSettingsLines& list);

  // The whole file, lines ended with CR LF.
  std::string Bytes() const;

 private:
  struct Section {
    std::string Header;               // the "[...]" line as written; empty for the lines before any
    std::string Name;                 // the name between the brackets
    std::vector<std::string> Lines;   // raw lines after the header
  };
  std::vector<Section> sections_ = std::vector<Section>(1);  // the lines before any section first
};

// Blanks (spaces and tabs) off both ends.
std::string_view TrimIniBlanks(std::string_view s);
