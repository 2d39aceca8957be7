// Every class named by a form resource of the real Qorn.exe is found by name here,
// where the code names none of them: the classes come from the libraries'
// registration, not from whatever the linker kept.
#include <gtest/gtest.h>

#include "vcl/FormText.h"
#include "vcl/TypInfo.h"
#include "vcl/Win.h"

#include <set>
#include <string>
#include <vector>

namespace {

struct FormResource {
  std::wstring name;
  std::string text;
};

BOOL CALLBACK CollectForm(HMODULE module, LPCWSTR, LPWSTR name, LONG_PTR param) {
  if (IS_INTRESOURCE(name)) return TRUE;
  auto* out = reinterpret_cast<std::vector<FormResource>*>(param);
  HRSRC info = FindResourceW(module, name, MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  HGLOBAL data = info ? LoadResource(module, info) : nullptr;
  if (!data) return TRUE;
  const auto* bytes = static_cast<const char*>(LockResource(data));
  out->push_back({name, std::string(bytes, SizeofResource(module, info))});
  return TRUE;
}

// The classes of every object below the root (the root is made by the program's
// code, which reads the resource into it).
void CollectClasses(const TFormObject& object, std::set<std::wstring>& out) {
  for (const auto& child : object.Children) {
    out.insert(child.ClassName);
    CollectClasses(child, out);
  }
}

}  // namespace

TEST(FormClasses, EveryClassNamedByQornsFormsIsFound) {
  const std::wstring exe = L"" QORN_BINARY_DIR L"/bin/Qorn.exe";
  HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(module, nullptr) << "cannot open Qorn.exe";
  std::vector<FormResource> forms;
  EnumResourceNamesW(module, MAKEINTRESOURCEW(10), &CollectForm, reinterpret_cast<LONG_PTR>(&forms));
  FreeLibrary(module);

  std::set<std::wstring> checked;
  int programForms = 0;
  for (const auto& form : forms) {
    // The class library's own test forms are linked into every program too; their
    // classes live in the test programs that read them.
    if (form.name.find(L"TEST") != std::wstring::npos) continue;
    ++programForms;
    std::set<std::wstring> classes;
    const TFormObject root = ParseFormText(form.text, form.name);
    CollectClasses(root, classes);
    // The program's forms are registered as well, though made by code.
    classes.insert(root.ClassName);
    for (const auto& name : classes) {
      EXPECT_NE(FindClass(name), nullptr) << "class " << std::string(name.begin(), name.end()) << " of form "
                                          << std::string(form.name.begin(), form.name.end()) << " not found";
      checked.insert(name);
    }
  }
  EXPECT_GE(programForms, 8) << "the main window, its dialogs and the displays";
  // Classes that no code of this test or of the libraries it reaches names.
  for (const wchar_t* name : {L"TMainForm", L"TLabel", L"TTimer"})
    EXPECT_TRUE(checked.count(name)) << std::string(name, name + wcslen(name)) << " not among the forms' classes";
}

TEST(FormClasses, ClassesOfEveryLibraryAreThereBeforeMain) {
  // Never referenced in this program's code.
  for (const wchar_t* name : {L"TBevel", L"THeader", L"TCheckListBox", L"THotKey", L"TMaskEdit", L"TColorDialog",
                              L"TDonateForm", L"TOSDvForm"})
    EXPECT_NE(FindClass(name), nullptr) << std::string(name, name + wcslen(name));
}
