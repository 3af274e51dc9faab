#include "host/Servicos.h"

#include "host/Database.h"
#include "host/Host.h"

TServicosHost::TServicosHost(THost& AHost)
    : FOpcaoEFD(AHost), FLucroReal(AHost), FLucroPresumido(AHost), FIPI(AHost),
      FContribPatronal(AHost), FConfig(AHost), FHost(AHost) {}

const std::map<std::string, std::string>& TServicosHost::ConversoesSPED() {
  if (!FConversoesSPED) {
    std::map<std::string, std::string> m;
    auto ds = FHost.Database().Abrir(
        "SELECT CODIGOTABSPED, CODIGOCONVERSAO FROM TABELASPED WHERE CODIGOCONVERSAO IS NOT NULL");
    for (; !ds->Eof(); ds->Next()) m[ds->Fields(0).AsString()] = ds->Fields(1).AsString();
    FConversoesSPED = std::move(m);
  }
  return *FConversoesSPED;
}

void TServicosHost::LimparCaches() {
  FOpcaoEFD.LimparCache();
  FLucroReal.LimparCache();
  FLucroPresumido.LimparCache();
  FIPI.LimparCache();
  FContribPatronal.LimparCache();
  FConfig.LimparCache();
  FListasCFOP = TListasCFOP{};
  FConversoesSPED.reset();
}

void TServicosHostDeleter::operator()(TServicosHost* p) const { delete p; }

TServicosHost& THost::Servicos() {
  if (!FServicos) FServicos.reset(new TServicosHost(*this));
  return *FServicos;
}
