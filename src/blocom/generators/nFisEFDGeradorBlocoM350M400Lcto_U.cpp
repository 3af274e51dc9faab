#include "blocom/generators/nFisEFDGeradorBlocoM350M400Lcto_U.h"

#include "blocom/control/nFisEFDControleBlocoM_U.h"
#include "blocom/generators/nFisEFDGeradorTotalCST_U.h"
#include "host/FisFuncoes.h"

std::string TnFisEFDGeradorM350LctoDacon::GetTabelaFolha() {
  return Controle().FDadosDacon.OptanteLucroReal ? "LucroRealPisPasepFolha" : "LucroPresumidoPisPasepFolha";
}

void TnFisEFDGeradorM400_M800Lcto::CriarGeradoresFilhos() { CriarFilho<TnFisEFDGeradorM410_M810Lcto>(); }

namespace {
std::string TextoCampo(const TFieldRef& ACampo) { return ACampo.IsNull() ? std::string() : ACampo.AsString(); }
}  // namespace

void TnFisEFDGeradorM410_M810Lcto::CarregarDados() {
  TnFisEFDGeradorTotalCST totais;
  totais.FCodigoEmpresa = GetCodigoEmpresa();
  totais.FCodigoEstab = GetCodigoEstab();
  totais.FDataInicial = GetDataInicial();
  totais.FDataFinal = GetDataFinal();
  totais.FRegimeCaixa = GetRegimeCaixa();
  totais.FProcessarCredito = false;
  totais.FProcessarDebito = true;
  totais.FReceitas = {rIsentas};
  totais.FModoApuracao = true;
  totais.GerarTotais();

  auto& lcto = *totais.FcurSaidaLcto;
  auto& m = FieldMapper().MapearFields<TMapLctoSai>(lcto);
  for (lcto.First(); !lcto.Eof(); lcto.Next()) {
    if (m.TIPOIMPOSTO.AsInteger() != FImposto) continue;
    TRecM410_810 rec;
    rec.TipoDebito = TextoCampo(m.TIPODEBITO);
    rec.NAT_REC = TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(rec.TipoDebito);
    rec.VL_REC = m.RECEITAPISCOFINS.AsFloat();
    rec.COD_CTA = TextoCampo(m.CONTACTB);
    rec.CstMestre = static_cast<int>(m.CST.AsInteger());
    rec.TipoApuracao = static_cast<TTipoApuracao>(
        GetTipoApuracao(m.DACONTIPORECEITA.IsNull() ? 0 : static_cast<int>(m.DACONTIPORECEITA.AsInteger())));
    GerarM410_810(rec);
  }
  auto& demais = *totais.FcurSaidaDemaisDoc;
  auto& d = FieldMapper().MapearFields<TMapSaiDemaisDoc>(demais);
  for (demais.First(); !demais.Eof(); demais.Next()) {
    if (d.TIPOIMPOSTO.AsInteger() != FImposto) continue;
    TRecM410_810 rec;
    rec.TipoDebito = TextoCampo(d.TIPODEBITO);
    rec.NAT_REC = TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(rec.TipoDebito);
    rec.VL_REC = d.VALOROPER.AsFloat();
    rec.COD_CTA = TextoCampo(d.CONTACTB);
    rec.DESC_COMPL = TextoCampo(d.DESCRCOMPL);
    rec.CstMestre = static_cast<int>(d.CST.AsInteger());
    rec.TipoApuracao = TTipoApuracao::taNormal;
    GerarM410_810(rec);
  }
}
