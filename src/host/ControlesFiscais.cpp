#include "host/ControlesFiscais.h"

#include "host/Database.h"
#include "host/Host.h"
#include "host/LeituraCampos.h"
#include "host/Servicos.h"

using namespace NLeituraCampos;

bool TnUtilIPI::GetApuraIPI() {
  int empresa = FCodigoEmpresa, estab = FCodigoEstab;
  TDateTime data = FData;
  if (empresa == 0) {
    TnUtilOpcaoEFD& efd = FHost.Servicos().OpcaoEFD();
    empresa = efd.GetCodigoEmpresa();
    estab = efd.GetCodigoEstab();
    data = efd.GetData();
  }
  if (empresa == 0) return false;
  auto chave = std::make_tuple(empresa, estab, DataISO(data));
  auto it = FCache.find(chave);
  if (it != FCache.end()) return it->second;
  // Como nas opções da EFD: a linha do estabelecimento ganha; sem ela, a do menor.
  auto ds = FHost.Database().Abrir(
      "SELECT APURAIPI FROM OPCAOIPI WHERE CODIGOEMPRESA = :CODIGOEMPRESA AND DATAINICIAL <= :DATA "
      "ORDER BY CASE WHEN CODIGOESTAB = :CODIGOESTAB THEN 0 ELSE 1 END, CODIGOESTAB, "
      "DATAINICIAL DESC LIMIT 1",
      {TVariant(int64_t{empresa}), VarDate(data), TVariant(int64_t{estab})});
  bool apura = !ds->Eof() && Logico(*ds, "APURAIPI", false);
  FCache.emplace(chave, apura);
  return apura;
}

const TLinhaContribPatronal& TnUtilContribPatronal::Linha() {
  auto chave = std::make_pair(FCodigoEmpresa, DataISO(FData));
  auto it = FCache.find(chave);
  if (it != FCache.end()) return it->second;
  TLinhaContribPatronal l;
  if (FCodigoEmpresa != 0) {
    auto ds = FHost.Database().Abrir(
        "SELECT DATAINICIAL, CODIGOIMPOSTOTIC, VARIACAOIMPOSTOTIC, CODIGOIMPOSTOOUTROS, "
        "VARIACAOIMPOSTOOUTROS, CODIGOIMPOSTOCOMERCIO, VARIACAOIMPOSTOCOMERCIO "
        "FROM OPCAOCONTRIBPATRONAL WHERE CODIGOEMPRESA = :CODIGOEMPRESA AND DATAINICIAL <= :DATA "
        "ORDER BY DATAINICIAL DESC LIMIT 1",
        {TVariant(int64_t{FCodigoEmpresa}), VarDate(FData)});
    if (!ds->Eof()) {
      l.DataInicial = Data(*ds, "DATAINICIAL");
      l.CodigoImpostoTIC = Inteiro(*ds, "CODIGOIMPOSTOTIC", l.CodigoImpostoTIC);
      l.VariacaoImpostoTIC = Inteiro(*ds, "VARIACAOIMPOSTOTIC", l.VariacaoImpostoTIC);
      l.CodigoImpostoOUTROS = Inteiro(*ds, "CODIGOIMPOSTOOUTROS", l.CodigoImpostoOUTROS);
      l.VariacaoImpostoOUTROS = Inteiro(*ds, "VARIACAOIMPOSTOOUTROS", l.VariacaoImpostoOUTROS);
      l.CodigoImpostoComercio = Inteiro(*ds, "CODIGOIMPOSTOCOMERCIO", l.CodigoImpostoComercio);
      l.VariacaoImpostoComercio = Inteiro(*ds, "VARIACAOIMPOSTOCOMERCIO", l.VariacaoImpostoComercio);
    }
  }
  return FCache.emplace(chave, l).first->second;
}

bool TnConfig::ApuracaoImpostoPisCofinsArredondamento() {
  if (!FArredondamento) {
    auto ds = FHost.Database().Abrir("SELECT VALOR FROM CONFIGSISTEMA WHERE NOME = :NOME",
                                     {TVariant(std::string("ApuracaoImpostoPisCofinsArredondamento"))});
    FArredondamento = !ds->Eof() && Texto(*ds, "VALOR") == "1";
  }
  return *FArredondamento;
}

TnUtilIPI& ControleIPI() { return THost::Atual().Servicos().IPI(); }
TnUtilContribPatronal& ControleContribPatronal() { return THost::Atual().Servicos().ContribPatronal(); }
TnConfig& nConfig() { return THost::Atual().Servicos().Config(); }

namespace Nutilarquivo {
bool EhUsoInterno() {
  THost* h = THost::AtualOuNulo();
  return h && h->Servicos().UsoInterno();
}
}  // namespace Nutilarquivo
