#include "services/NetControl.h"

#include <mutex>

namespace {
// {5C63C1AD-3956-4FF8-8486-40034758315B}
const CLSID NetSharingManagerClass = {0x5C63C1AD, 0x3956, 0x4FF8, {0x84, 0x86, 0x40, 0x03, 0x47, 0x58, 0x31, 0x5B}};
const IID NetSharingManagerIid = {0xC08956B7, 0x1CD3, 0x11D1, {0xB1, 0xC5, 0x00, 0x80, 0x5F, 0xC1, 0x27, 0x0E}};
const IID NetConnectionIid = {0xC08956A1, 0x1CD3, 0x11D1, {0xB1, 0xC5, 0x00, 0x80, 0x5F, 0xC1, 0x27, 0x0E}};

// Frees a properties record: netshell's own routine when there is one, else what it
// does (the record and its texts come from the COM allocator).
void FreeProperties(NETCON_PROPERTIES* props) {
  if (!props) return;
  using TFree = void(WINAPI*)(NETCON_PROPERTIES*);
  static const TFree freeProps = [] {
    HMODULE netshell = LoadLibraryW(L"netshell.dll");
    return netshell ? reinterpret_cast<TFree>(reinterpret_cast<void*>(GetProcAddress(netshell, "NcFreeNetconProperties")))
                    : nullptr;
  }();
  if (freeProps) return freeProps(props);
  CoTaskMemFree(props->pszwName);
  CoTaskMemFree(props->pszwDeviceName);
  CoTaskMemFree(props);
}

struct TPropertiesGuard {
  NETCON_PROPERTIES* p = nullptr;
  ~TPropertiesGuard() { FreeProperties(p); }
};
}  // namespace

void InitComSecurity() {
  static std::once_flag once;
  std::call_once(once, [] {
    CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT, RPC_C_IMP_LEVEL_IMPERSONATE,
                         nullptr, EOAC_NONE, nullptr);
  });
}

HRESULT CreateSystemNetSharingManager(INetSharingManager** Manager) {
  return CoCreateInstance(NetSharingManagerClass, nullptr, CLSCTX_INPROC_SERVER, NetSharingManagerIid,
                          reinterpret_cast<void**>(Manager));
}

void TNTNetConnection::Attach(TComPtr<INetConnection> Connection) {
  FConnection = std::move(Connection);
  TPropertiesGuard props;
  OleCheck(FConnection->GetProperties(&props.p));
  if (props.p) {
    FName = props.p->pszwName ? props.p->pszwName : L"";
    FMediaType = props.p->MediaType;
  }
}

unsigned TNTNetConnection::Status() const {
  if (!FConnection) return 0;
  TPropertiesGuard props;
  OleCheck(FConnection->GetProperties(&props.p));
  return props.p ? static_cast<unsigned>(props.p->Status) : 0;
}

void TNTNetConnection::Connect() {
  if (FConnection) OleCheck(FConnection->Connect());
}

void TNTNetConnection::Disconnect() {
  if (FConnection) OleCheck(FConnection->Disconnect());
}

TNTFirewall::TNTFirewall(TComponent* AOwner, TNetSharingManagerFactory Factory)
    : TComponent(AOwner),
      FApartment(std::make_unique<TComApartment>()),
      FFactory(std::move(Factory)),
      FConnections(new TCollection(TNTNetConnection::StaticClass(), this)) {}

TNTFirewall::~TNTFirewall() {
  delete FConnections;
  FManager.Reset();
  FApartment.reset();
}

TCollection& TNTFirewall::Connections() {
  if (FConnections->Count() == 0) Fill();
  return *FConnections;
}

void TNTFirewall::Fill() {
  if (!FManager && FFactory) {
    if (FAILED(FFactory(FManager.Put()))) FManager.Reset();
  }
  if (!FManager) return;
  TComPtr<INetSharingEveryConnectionCollection> every;
  OleCheck(FManager->get_EnumEveryConnection(every.Put()));
  TComPtr<IUnknown> unknown;
  OleCheck(every->get__NewEnum(unknown.Put()));
  TComPtr<IEnumVARIANT> items;
  OleCheck(unknown->QueryInterface(IID_IEnumVARIANT, items.PutVoid()));
  for (;;) {
    VARIANT v;
    VariantInit(&v);
    ULONG fetched = 0;
    if (items->Next(1, &v, &fetched) != S_OK) break;
    TComPtr<INetConnection> connection;
    if (v.vt == VT_UNKNOWN || v.vt == VT_DISPATCH) {
      IUnknown* item = v.vt == VT_UNKNOWN ? v.punkVal : v.pdispVal;
      if (item) item->QueryInterface(NetConnectionIid, connection.PutVoid());
    }
    VariantClear(&v);
    if (!connection) continue;
    auto* added = static_cast<TNTNetConnection*>(FConnections->Add());
    added->Attach(std::move(connection));
  }
}

QORN_REGISTER_CLASS(TNTNetConnection);
QORN_REGISTER_CLASS(TNTFirewall);
