// The network connections list: the real "no manager" path (wine has no network
// sharing manager) and a fake manager for the listing, the live state and errors.
#include <gtest/gtest.h>

#include "services/NetControl.h"

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

const IID NetConnectionIid = {0xC08956A1, 0x1CD3, 0x11D1, {0xB1, 0xC5, 0x00, 0x80, 0x5F, 0xC1, 0x27, 0x0E}};
const IID NetSharingManagerIid = {0xC08956B7, 0x1CD3, 0x11D1, {0xB1, 0xC5, 0x00, 0x80, 0x5F, 0xC1, 0x27, 0x0E}};

template <class I> const IID& IidOf();
template <> const IID& IidOf<INetConnection>() { return NetConnectionIid; }
template <> const IID& IidOf<INetSharingManager>() { return NetSharingManagerIid; }
// The collection is only ever used through the interface it was returned as.
template <> const IID& IidOf<INetSharingEveryConnectionCollection>() { return IID_NULL; }
template <> const IID& IidOf<IEnumVARIANT>() { return IID_IEnumVARIANT; }

// IUnknown and IDispatch for the fakes; reference counted, freed at zero.
template <class I>
struct TFake : I {
  std::atomic<ULONG> refs{1};
  virtual ~TFake() = default;
  HRESULT WINAPI QueryInterface(REFIID iid, void** out) override {
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IidOf<I>() || (iid == IID_IDispatch && std::is_base_of_v<IDispatch, I>)) {
      *out = static_cast<I*>(this);
      this->AddRef();
      return S_OK;
    }
    return E_NOINTERFACE;
  }
  ULONG WINAPI AddRef() override { return ++refs; }
  ULONG WINAPI Release() override {
    const ULONG n = --refs;
    if (n == 0) delete this;
    return n;
  }
};
template <class I>
struct TFakeDispatch : TFake<I> {
  HRESULT WINAPI GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  HRESULT WINAPI GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT WINAPI GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT WINAPI Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }
};

struct TFakeConnection : TFake<INetConnection> {
  std::wstring name;
  NETCON_MEDIATYPE media;
  NETCON_STATUS status = NCS_CONNECTED;
  HRESULT connectResult = S_OK;
  int connects = 0, disconnects = 0;
  TFakeConnection(std::wstring n, NETCON_MEDIATYPE m) : name(std::move(n)), media(m) {}
  HRESULT WINAPI Connect() override { return ++connects, connectResult; }
  HRESULT WINAPI Disconnect() override { return ++disconnects, S_OK; }
  HRESULT WINAPI Delete() override { return E_NOTIMPL; }
  HRESULT WINAPI Duplicate(LPCWSTR, INetConnection**) override { return E_NOTIMPL; }
  HRESULT WINAPI GetProperties(NETCON_PROPERTIES** out) override {
    auto* p = static_cast<NETCON_PROPERTIES*>(CoTaskMemAlloc(sizeof(NETCON_PROPERTIES)));
    *p = {};
    const size_t bytes = (name.size() + 1) * sizeof(wchar_t);
    p->pszwName = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    memcpy(p->pszwName, name.c_str(), bytes);
    p->Status = status;
    p->MediaType = media;
    *out = p;
    return S_OK;
  }
  HRESULT WINAPI GetUiObjectClassId(CLSID*) override { return E_NOTIMPL; }
  HRESULT WINAPI Rename(LPCWSTR) override { return E_NOTIMPL; }
};

struct TFakeEnum : TFake<IEnumVARIANT> {
  std::vector<TFakeConnection*> items;  // referenced, not owned
  size_t next = 0;
  HRESULT WINAPI Next(ULONG, VARIANT* v, ULONG* fetched) override {
    if (next >= items.size()) return *fetched = 0, S_FALSE;
    v->vt = VT_UNKNOWN;
    v->punkVal = items[next++];
    v->punkVal->AddRef();
    *fetched = 1;
    return S_OK;
  }
  HRESULT WINAPI Skip(ULONG) override { return E_NOTIMPL; }
  HRESULT WINAPI Reset() override { return next = 0, S_OK; }
  HRESULT WINAPI Clone(IEnumVARIANT**) override { return E_NOTIMPL; }
};

struct TFakeEvery : TFakeDispatch<INetSharingEveryConnectionCollection> {
  std::vector<TFakeConnection*> items;
  HRESULT WINAPI get__NewEnum(IUnknown** out) override {
    auto* e = new TFakeEnum;
    e->items = items;
    *out = e;
    return S_OK;
  }
  HRESULT WINAPI get_Count(LONG* n) override { return *n = static_cast<LONG>(items.size()), S_OK; }
};

struct TFakeManager : TFakeDispatch<INetSharingManager> {
  std::vector<TFakeConnection*> items;
  int enumerations = 0;
  HRESULT enumResult = S_OK;
  HRESULT WINAPI get_SharingInstalled(VARIANT_BOOL*) override { return E_NOTIMPL; }
  HRESULT WINAPI get_EnumPublicConnections(SHARINGCONNECTION_ENUM_FLAGS, INetSharingPublicConnectionCollection**) override {
    return E_NOTIMPL;
  }
  HRESULT WINAPI get_EnumPrivateConnections(SHARINGCONNECTION_ENUM_FLAGS, INetSharingPrivateConnectionCollection**) override {
    return E_NOTIMPL;
  }
  HRESULT WINAPI get_INetSharingConfigurationForINetConnection(INetConnection*, INetSharingConfiguration**) override {
    return E_NOTIMPL;
  }
  HRESULT WINAPI get_EnumEveryConnection(INetSharingEveryConnectionCollection** out) override {
    ++enumerations;
    if (FAILED(enumResult)) return enumResult;
    auto* every = new TFakeEvery;
    every->items = items;
    *out = every;
    return S_OK;
  }
  HRESULT WINAPI get_NetConnectionProps(INetConnection*, INetConnectionProps**) override { return E_NOTIMPL; }
};

class NetControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    lan1 = new TFakeConnection(L"Local Area Connection", NCM_LAN);
    lan2 = new TFakeConnection(L"Local Area Connection", NCM_LAN);
    dial = new TFakeConnection(L"Provider", NCM_PHONE);
    manager = new TFakeManager;
    manager->items = {lan1, lan2, dial};
  }
  void TearDown() override {
    for (auto* c : {lan1, lan2, dial}) c->Release();
    manager->Release();
  }
  TNetSharingManagerFactory Factory() {
    return [this](INetSharingManager** out) {
      manager->AddRef();
      *out = manager;
      return S_OK;
    };
  }
  TFakeConnection *lan1, *lan2, *dial;
  TFakeManager* manager;
};

TNTNetConnection& Item(TCollection& c, int i) { return *static_cast<TNTNetConnection*>(c.Items(i)); }

TEST(NetControlSystem, WithoutAManagerTheListIsEmpty) {
  InitComSecurity();
  TNTFirewall firewall(nullptr);
  EXPECT_EQ(firewall.Connections().Count(), 0);
  EXPECT_EQ(firewall.Connections().Count(), 0) << "asking again is harmless";
}

TEST_F(NetControlTest, ListsEveryConnectionInOrderWithDuplicateNames) {
  TNTFirewall firewall(nullptr, Factory());
  TCollection& list = firewall.Connections();
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(Item(list, 0).Name(), L"Local Area Connection");
  EXPECT_EQ(Item(list, 1).Name(), L"Local Area Connection");
  EXPECT_EQ(Item(list, 2).Name(), L"Provider");
  EXPECT_EQ(Item(list, 0).MediaType(), static_cast<unsigned>(NCM_LAN));
  EXPECT_EQ(Item(list, 2).MediaType(), static_cast<unsigned>(NCM_PHONE));
  firewall.Connections();
  EXPECT_EQ(manager->enumerations, 1) << "listed once per component";
}

TEST_F(NetControlTest, StatusIsReadAfreshAndCommandsReachTheConnection) {
  TNTFirewall firewall(nullptr, Factory());
  TNTNetConnection& first = Item(firewall.Connections(), 0);
  EXPECT_EQ(first.Status(), 2u);
  lan1->status = NCS_DISCONNECTED;
  EXPECT_EQ(first.Status(), 0u) << "the link went down after the listing";
  first.Connect();
  first.Disconnect();
  EXPECT_EQ(lan1->connects, 1);
  EXPECT_EQ(lan1->disconnects, 1);
  EXPECT_EQ(lan2->connects, 0);
}

TEST_F(NetControlTest, FailuresRaiseTheirResult) {
  TNTFirewall firewall(nullptr, Factory());
  dial->connectResult = HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
  try {
    Item(firewall.Connections(), 2).Connect();
    ADD_FAILURE() << "no exception";
  } catch (const EOleSysError& e) {
    EXPECT_EQ(e.ErrorCode, HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED));
  }
  manager->enumResult = E_ACCESSDENIED;
  TNTFirewall second(nullptr, Factory());
  EXPECT_THROW(second.Connections(), EOleSysError);
}

TEST_F(NetControlTest, TheComponentReleasesWhatItHeld) {
  {
    TNTFirewall firewall(nullptr, Factory());
    ASSERT_EQ(firewall.Connections().Count(), 3);
    EXPECT_GT(lan1->refs.load(), 1u);
  }
  EXPECT_EQ(lan1->refs.load(), 1u);
  EXPECT_EQ(dial->refs.load(), 1u);
  EXPECT_EQ(manager->refs.load(), 1u);
}

TEST_F(NetControlTest, AWorkerThreadUsesItsOwnApartment) {
  std::atomic<int> count{-1};
  HRESULT during = E_FAIL, after = E_FAIL;
  std::thread worker([&] {
    {
      TNTFirewall firewall(nullptr, Factory());
      count = firewall.Connections().Count();
      Item(firewall.Connections(), 1).Disconnect();
      during = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
      if (SUCCEEDED(during)) CoUninitialize();
    }
    // The component's apartment ended with it: this is a first initialisation again.
    after = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (SUCCEEDED(after)) CoUninitialize();
  });
  worker.join();
  EXPECT_EQ(count, 3);
  EXPECT_EQ(lan2->disconnects, 1);
  EXPECT_EQ(during, S_FALSE) << "open while the component lives";
  EXPECT_EQ(after, S_OK) << "closed once it went";
}

}  // namespace
