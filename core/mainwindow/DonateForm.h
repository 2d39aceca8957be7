// The donation window. Until its contents are built it is an empty window of its
// class that the key-press counter's milestones show.
#pragma once
#include "vcl/Forms.h"

class TDonateForm : public TForm {
  QORN_CLASS(TDonateForm, TForm)
 public:
  explicit TDonateForm(TComponent* AOwner) : TForm(AOwner) {}
  // Translated and shown.
  void ShowWnd();
};

inline TDonateForm* DonateForm = nullptr;
