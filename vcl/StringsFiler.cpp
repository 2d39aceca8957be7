// How string lists are kept in form resources: a list of strings named "Strings",
// written only when there are lines.
#include "vcl/Filer.h"
#include "vcl/ScopeGuards.h"
#include "vcl/StringList.h"

void TStrings::DefineProperties(TFiler& Filer) {
  TPersistent::DefineProperties(Filer);
  Filer.DefineProperty(
      L"Strings",
      [this](TReader& Reader) {
        BeginUpdate();
        const TOnExit updated([this] { EndUpdate(); });
        Clear();
        Reader.ReadListBegin();
        while (!Reader.EndOfList()) Add(Reader.ReadString());
        Reader.ReadListEnd();
      },
      [this](TWriter& Writer) {
        Writer.WriteListBegin();
        for (int i = 0; i < Count(); ++i) Writer.WriteString(Get(i));
        Writer.WriteListEnd();
      },
      Count() > 0);
}
