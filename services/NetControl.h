// The machine's network connections (LAN, dial-up...) through the system's
// network sharing manager: their names, media types and live states, and
// connecting or disconnecting one.
//
// A thread that uses a TNTFirewall works in its own COM apartment for the
// component's life (the GUI thread's OLE initialisation counts). Without a
// sharing manager (wine has none) the list is empty; failing calls while listing,
// connecting or disconnecting raise EOleSysError.
#pragma once

#include "vcl/Classes.h"
#include "vcl/ComObj.h"
#include "vcl/Collection.h"

#include <netcon.h>

#include <functional>
#include <memory>
#include <string>

// Once per process, from the main thread: the process's COM security
// (default authentication, impersonation), before interfaces cross apartments.
void InitComSecurity();

// Makes the sharing manager; a test installs a fake. Returns an HRESULT.
using TNetSharingManagerFactory = std::function<HRESULT(INetSharingManager** Manager)>;
// The system's: CoCreateInstance of the NetSharingManager class.
HRESULT CreateSystemNetSharingManager(INetSharingManager** Manager);

class TNTNetConnection : public TCollectionItem {
  QORN_CLASS(TNTNetConnection, TCollectionItem)
 public:
  explicit TNTNetConnection(TCollection* Collection) : TCollectionItem(Collection) {}
  const std::wstring& Name() const { return FName; }
  unsigned MediaType() const { return FMediaType; }
  // Read afresh from the connection at every call (0 disconnected, 2 connected).
  unsigned Status() const;
  void Connect();
  void Disconnect();

  // Takes the connection and reads its name and media type.
  void Attach(TComPtr<INetConnection> Connection);

 private:
  TComPtr<INetConnection> FConnection;
  std::wstring FName;
  unsigned FMediaType = 0;
};

class TNTFirewall : public TComponent {
  QORN_CLASS(TNTFirewall, TComponent)
 public:
  explicit TNTFirewall(TComponent* AOwner, TNetSharingManagerFactory Factory = CreateSystemNetSharingManager);
  ~TNTFirewall() override;
  // The connections, listed on the first call that finds the list empty.
  TCollection& Connections();

 private:
  void Fill();
  // First member: the apartment outlives the interfaces below.
  std::unique_ptr<TComApartment> FApartment;
  TNetSharingManagerFactory FFactory;
  TComPtr<INetSharingManager> FManager;
  TCollection* FConnections = nullptr;  // owned
};
