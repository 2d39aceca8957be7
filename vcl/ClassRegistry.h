// Which classes a form resource may name.
//
// Rule: a class is found by name only when its library's registration function
// listed it. Every folder library that defines component classes has one file,
// FOLDER/Registration.win.cpp (or .cpp), defining
//
//   void RegisterClassesOf_<folder>()      // e.g. RegisterClassesOf_core_mainwindow
//   { RegisterClasses<TMainForm, TDonateForm, TSettingsHKForm>(); }
//
// The build finds those files and generates one RegisterAllClasses() that calls them
// all; it is compiled into every program (Qorn.exe, each test and tool), runs before
// main, and Qorn.exe calls it again first thing (it runs once). So nothing depends on
// whether the linker happened to pull a class's object file into a program.
// QORN_REGISTER_CLASS stays for classes a test program declares in its own source.
#pragma once

// Registers every library's classes; later calls do nothing.
void RegisterAllClasses();
