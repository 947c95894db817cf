// Keyboard actions that show and hide the parts of the window an ordinary user does not need.
#include "console/main_form.h"

namespace console {

void TMainForm::ShowTabExecute(TObject*) {
  const bool show = !TabSheet2->TabVisible;
  TabSheet2->TabVisible = show;
  TabSheet3->TabVisible = show;
  TabSheet4->TabVisible = show;
}

void TMainForm::FactoryResetExecute(TObject*) {
  BtnFactory->Visible = !BtnFactory->Visible;
}

void TMainForm::SockConnectionExecute(TObject*) {
  const bool comport = GrpComport->Visible;
  GrpComport->Visible = !comport;
  GrpSocket->Visible = comport;
}

void TMainForm::ShowTCXOExecute(TObject*) {
  GroupBox6->Visible = !GroupBox6->Visible;
}

void TMainForm::ShowVersionExecute(TObject*) {
  if (StatusBar2->Tag == 0) {
    StatusBar2->Tag = 1;
    ClientHeight = ClientHeight + StatusBar2->Height;
  } else {
    StatusBar2->Tag = 0;
    ClientHeight = ClientHeight - StatusBar2->Height;
  }
}

}  // namespace console
