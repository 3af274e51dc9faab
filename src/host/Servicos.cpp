// Provisório: os objetos de opção e os serviços de negócio do host entram aqui.
#include "host/Host.h"

class TServicosHost {};

void TServicosHostDeleter::operator()(TServicosHost* p) const { delete p; }

TServicosHost& THost::Servicos() {
  if (!FServicos) FServicos.reset(new TServicosHost());
  return *FServicos;
}
