#include "blocks/nArqRepositorioSPEDPisCofinsBase_U.h"

#include <charconv>

#include "host/ClientDataSet.h"
#include "base/Erros.h"
#include "host/FiltroEstab.h"
#include "host/SQLCache.h"
#include "base/Nutil.h"

int64_t TnArqRepositorioSPEDPisCofinsBase::EstabComoInteiro(const std::string& ACodigoEstab) {
  const std::string t = Nutil::Aparar(ACodigoEstab);
  int64_t n = 0;
  const char* fim = t.data() + t.size();
  auto [p, ec] = std::from_chars(t.data(), fim, n);
  if (t.empty() || ec != std::errc() || p != fim) return 0;
  return n;
}

bool TnArqRepositorioSPEDPisCofinsBase::EhEstabInclusionHost(const std::string& ACodigoEstab) {
  return TnArqRepositorioSPEDPisCofinsFiltroEstab::EhEstabInclusion(ACodigoEstab);
}

TParams TnArqRepositorioSPEDPisCofinsBase::MontarParamsEstabData(int32_t AEmpresa, const std::string& AEstab,
                                                                 TDateTime AInicio, TDateTime AFim) {
  if (EhEstabInclusionHost(AEstab))
    return {TVariant{int64_t{AEmpresa}}, VarDate(DateOf(AInicio)), VarDate(DateOf(AFim))};
  return {TVariant{int64_t{AEmpresa}}, TVariant{EstabComoInteiro(AEstab)}, VarDate(DateOf(AInicio)),
          VarDate(DateOf(AFim))};
}

TParams TnArqRepositorioSPEDPisCofinsBase::MontarParamsEstabDataNull(const std::string& AEstab) {
  // Data zero = parte de data do valor 0 (30/12/1899): nenhum lançamento cai nela.
  if (EhEstabInclusionHost(AEstab)) return {TVariant{int64_t{-1}}, VarDate(0), VarDate(0)};
  return {TVariant{int64_t{-1}}, TVariant{int64_t{-1}}, VarDate(0), VarDate(0)};
}

TDataSet* TnArqRepositorioSPEDPisCofinsBase::ExecutarNoCache(const std::string& ASQL, const TParams& AValores) {
  return SQLCache().ExecutarSQL(ASQL, AValores, false);
}

TnClientDataSet* TnArqRepositorioSPEDPisCofinsBase::ExecutarNoCacheCliente(const std::string& ASQL,
                                                                         const TParams& AValores) {
  return ComoCliente(SQLCache().ExecutarSQL(ASQL, AValores, true));
}

TnClientDataSet* TnArqRepositorioSPEDPisCofinsBase::ComoCliente(TDataSet* ADataSet) {
  if (!ADataSet) throw EBancoDados("Conversão de classe inválida: o cache de SQL não devolveu dataset");
  auto* cliente = dynamic_cast<TnClientDataSet*>(ADataSet);
  if (!cliente)
    throw EBancoDados("Conversão de classe inválida: o cache de SQL devolveu um dataset em fluxo onde se "
                      "esperava TnClientDataSet");
  return cliente;
}
