#include "blocom/generators/nFisEFDGeradorBlocoM100M500Lcto_U.h"

#include "base/Decimal.h"
#include "base/Nutil.h"
#include "blocks/nArqRepositorioSPEDPisCofinsBlocoF_U.h"
#include "host/ClientDataSet.h"
#include "host/FieldMapper.h"
#include "host/FisFuncoes.h"

namespace {
struct TMapF205 : TRowMap {
  PISCO_CAMPO(VLCREDPISDESC);
  PISCO_CAMPO(VLCREDCOFINSDESC);
};
struct TMapF210 : TRowMap {
  PISCO_CAMPO(VLCREDPISUTIL);
  PISCO_CAMPO(VLCREDCOFINSUTIL);
};
}  // namespace

std::string ChaveCreditoLcto(const std::string& ATipoCred, double AAliquota, double AAliquotaQtd, int AOrigem) {
  return ATipoCred + "|" + Decimal::TextoChave(AAliquota) + "|" + Decimal::TextoChave(AAliquotaQtd) + "|" +
         std::to_string(AOrigem);
}

TM100_500CreditoImposto& ObterCreditoLcto(TM100_500CreditoImpostoList& ALista, const std::string& AChaveCodigo,
                                          double AAliquota, double AAliquotaQtd, int AOrigem) {
  const double q4 = Nutil::RoundValor(AAliquotaQtd, 4);
  const std::string chave = ChaveCreditoLcto(AChaveCodigo, AAliquota, q4, AOrigem);
  if (auto* existente = ALista.TryGetValue(chave)) return *existente;
  auto reg = std::make_unique<TM100_500CreditoImposto>();
  reg->FIND_CRED_ORI = AOrigem;
  if (q4 > 0)
    reg->FALIQ_QUANT = q4;
  else
    reg->FALIQ = AAliquota;
  reg->FCOD_CRED = TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(AChaveCodigo);
  reg->FVL_CRED_DIF = 0;
  return ALista.Add(chave, std::move(reg));
}

TM100_500CreditoImposto* ProcurarCreditoLcto(TnFisEFDControleBlocoM& AControle, int16_t AImposto, int ATipo,
                                             const std::string& AChave) {
  auto pos = AControle.FLstRegistroM001->find(static_cast<TTipoApuracao>(ATipo));
  if (pos == AControle.FLstRegistroM001->end()) return nullptr;
  return (AImposto == 15 ? pos->second->FM100List : pos->second->FM500List).TryGetValue(AChave);
}

const std::vector<int>& SeletoresReceitaCST(int ACst) {
  static const std::vector<int> nenhum, s53{0, 4}, s54{0, 6}, s55{4, 6}, s56{0, 4, 6};
  switch (ACst) {
    case 53: case 63: return s53;
    case 54: case 64: return s54;
    case 55: case 65: return s55;
    case 56: case 66: return s56;
    default: return nenhum;
  }
}

TM100_500CreditoImposto& TnFisEFDGeradorM100_M500Lcto::GetM100_500(TTipoApuracao ATipo,
                                                                   const std::string& ACodigoTabSPED,
                                                                   double AAliquota, double AAliquotaQtd,
                                                                   int AOrigem) {
  return ObterCreditoLcto(GetLstM100_500(ATipo), TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(ACodigoTabSPED),
                          AAliquota, AAliquotaQtd, AOrigem);
}

void TnFisEFDGeradorM100_M500Lcto::CarregarDados() { CarregarDadosM100_500AtivImob(); }

void TnFisEFDGeradorM100_M500Lcto::CarregarDadosM100_500AtivImob() {
  TnParansBlocoF p;
  p.CodigoEmpresa = GetCodigoEmpresa();
  p.CodigoEstab = GetCodigoEstab();
  p.DataInicial = GetDataInicial();
  p.DataFinal = GetDataFinal();
  // Crédito da atividade imobiliária (tipo 109): o valor vem pronto do bloco F e se acumula
  // num só registro de alíquota zero.
  const auto somar = [&](TnClientDataSet* ds, TFieldRef& pis, TFieldRef& cofins) {
    for (ds->First(); !ds->Eof(); ds->Next()) {
      auto& m = GetM100_500(TTipoApuracao::taNormal, "4.3.06.109", 0, 0, 0);
      m.FVL_CRED = m.GetVL_CRED() + (FImposto == 15 ? pis.AsFloat() : cofins.AsFloat());
    }
  };
  TnClientDataSet* f205 = nullptr;
  TnArqRepositorioSPEDPisCofinsBlocoF::CarregarDadosF205(f205, p);
  TMapF205 m205;
  FieldMapper().MapearFields(*f205, m205);
  somar(f205, m205.VLCREDPISDESC, m205.VLCREDCOFINSDESC);
  TnClientDataSet* f210 = nullptr;
  TnArqRepositorioSPEDPisCofinsBlocoF::CarregarDadosF210(f210, p);
  TMapF210 m210;
  FieldMapper().MapearFields(*f210, m210);
  somar(f210, m210.VLCREDPISUTIL, m210.VLCREDCOFINSUTIL);
}
