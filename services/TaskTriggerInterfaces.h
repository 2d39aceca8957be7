// The typed triggers of the new task scheduler that the compiler's headers leave
// out (they declare only the time and the daily trigger). Identifiers and method
// order are the system's: each interface extends ITrigger, and a wrong slot would
// call another method, so services/tests/task_triggers.win.cpp checks every
// slot against the type library the system ships, where it describes them (wine 8's
// describes only the time and the daily trigger).
#pragma once
#include "vcl/Win.h"

#include <taskschd.h>

// What a session-state trigger waits for.
enum TTaskSessionStateChange : int {
  TaskConsoleConnect = 1,
  TaskConsoleDisconnect = 2,
  TaskRemoteConnect = 3,
  TaskRemoteDisconnect = 4,
  TaskSessionLock = 7,
  TaskSessionUnlock = 8,
};

#define QORN_TRIGGER_INTERFACE(Name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8) \
  struct Name;                                                                  \
  __CRT_UUID_DECL(Name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8)

#ifndef __IWeeklyTrigger_INTERFACE_DEFINED__
#define __IWeeklyTrigger_INTERFACE_DEFINED__
QORN_TRIGGER_INTERFACE(IWeeklyTrigger, 0x5038fc98, 0x82ff, 0x436d, 0x87, 0x28, 0xa5, 0x12, 0xa5, 0x7c, 0x9d, 0xc1);
struct IWeeklyTrigger : ITrigger {
  virtual HRESULT STDMETHODCALLTYPE get_DaysOfWeek(short* days) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_DaysOfWeek(short days) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_WeeksInterval(short* weeks) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_WeeksInterval(short weeks) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_RandomDelay(BSTR* delay) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_RandomDelay(BSTR delay) = 0;
};
#endif

#ifndef __IMonthlyTrigger_INTERFACE_DEFINED__
#define __IMonthlyTrigger_INTERFACE_DEFINED__
QORN_TRIGGER_INTERFACE(IMonthlyTrigger, 0x97c45ef1, 0x6b02, 0x4a1a, 0x9c, 0x0e, 0x1e, 0xbf, 0xba, 0x15, 0x00, 0xac);
struct IMonthlyTrigger : ITrigger {
  virtual HRESULT STDMETHODCALLTYPE get_DaysOfMonth(long* days) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_DaysOfMonth(long days) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_MonthsOfYear(short* months) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_MonthsOfYear(short months) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_RunOnLastDayOfMonth(VARIANT_BOOL* lastDay) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_RunOnLastDayOfMonth(VARIANT_BOOL lastDay) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_RandomDelay(BSTR* delay) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_RandomDelay(BSTR delay) = 0;
};
#endif

#ifndef __IMonthlyDOWTrigger_INTERFACE_DEFINED__
#define __IMonthlyDOWTrigger_INTERFACE_DEFINED__
QORN_TRIGGER_INTERFACE(IMonthlyDOWTrigger, 0x77d025a3, 0x90fa, 0x43aa, 0xb5, 0x2e, 0xcd, 0xa5, 0x49, 0x9b, 0x94, 0x6a);
struct IMonthlyDOWTrigger : ITrigger {
  virtual HRESULT STDMETHODCALLTYPE get_DaysOfWeek(short* days) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_DaysOfWeek(short days) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_WeeksOfMonth(short* weeks) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_WeeksOfMonth(short weeks) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_MonthsOfYear(short* months) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_MonthsOfYear(short months) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_RunOnLastWeekOfMonth(VARIANT_BOOL* lastWeek) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_RunOnLastWeekOfMonth(VARIANT_BOOL lastWeek) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_RandomDelay(BSTR* delay) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_RandomDelay(BSTR delay) = 0;
};
#endif

#ifndef __IIdleTrigger_INTERFACE_DEFINED__
#define __IIdleTrigger_INTERFACE_DEFINED__
QORN_TRIGGER_INTERFACE(IIdleTrigger, 0xd537d2b0, 0x9fb3, 0x4d34, 0x97, 0x39, 0x1f, 0xf5, 0xce, 0x7b, 0x1e, 0xf3);
struct IIdleTrigger : ITrigger {};
#endif

#ifndef __IBootTrigger_INTERFACE_DEFINED__
#define __IBootTrigger_INTERFACE_DEFINED__
QORN_TRIGGER_INTERFACE(IBootTrigger, 0x2a9c35da, 0xd357, 0x41f4, 0xbb, 0xc1, 0x20, 0x7a, 0xc1, 0xb1, 0xf3, 0xcb);
struct IBootTrigger : ITrigger {
  virtual HRESULT STDMETHODCALLTYPE get_Delay(BSTR* delay) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Delay(BSTR delay) = 0;
};
#endif

#ifndef __ILogonTrigger_INTERFACE_DEFINED__
#define __ILogonTrigger_INTERFACE_DEFINED__
QORN_TRIGGER_INTERFACE(ILogonTrigger, 0x72dade38, 0xfae4, 0x4b3e, 0xba, 0xf4, 0x5d, 0x00, 0x9a, 0xf0, 0x2b, 0x1c);
struct ILogonTrigger : ITrigger {
  virtual HRESULT STDMETHODCALLTYPE get_Delay(BSTR* delay) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Delay(BSTR delay) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_UserId(BSTR* user) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_UserId(BSTR user) = 0;
};
#endif

#ifndef __ISessionStateChangeTrigger_INTERFACE_DEFINED__
#define __ISessionStateChangeTrigger_INTERFACE_DEFINED__
QORN_TRIGGER_INTERFACE(ISessionStateChangeTrigger, 0x754da71b, 0x4385, 0x4475, 0x9d, 0xd9, 0x59, 0x82, 0x94, 0xfa, 0x36,
                       0x41);
struct ISessionStateChangeTrigger : ITrigger {
  virtual HRESULT STDMETHODCALLTYPE get_Delay(BSTR* delay) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_Delay(BSTR delay) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_UserId(BSTR* user) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_UserId(BSTR user) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_StateChange(TTaskSessionStateChange* type) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_StateChange(TTaskSessionStateChange type) = 0;
};
#endif

#undef QORN_TRIGGER_INTERFACE
