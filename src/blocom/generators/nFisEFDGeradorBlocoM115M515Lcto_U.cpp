#include "blocom/generators/nFisEFDGeradorBlocoM115M515Lcto_U.h"

#include "base/Format.h"
#include "base/Nutil.h"
#include "blocom/generators/nFisEFDGeradorBlocoM100M500Lcto_U.h"
#include "blocom/generators/nFisEFDGeradorBlocoM110M510Lcto_U.h"
#include "host/FieldMapper.h"
#include "host/FisFuncoes.h"
#include "host/Nutildb.h"

namespace {
struct TMapLctoAjusteDet : TRowMap {
  PISCO_CAMPO(NATAJUSTE);
  PISCO_CAMPO(INDAJUSTE);
  PISCO_CAMPO(CODIGOAJUSTE);
  PISCO_CAMPO(NUMPROCESSO);
  PISCO_CAMPO(DATALCTOFIS);
  PISCO_CAMPO(DESCAJUSTE);
  PISCO_CAMPO(TIPOAPURACAO);
  PISCO_CAMPO(VLRAJUSTE);
  PISCO_CAMPO(CST);
  PISCO_CAMPO(BASECALCULOPISCOFINS);
  PISCO_CAMPO(QUANTIDADE);
  PISCO_CAMPO(ALIQAJUSTE);
  PISCO_CAMPO(DATAOPERACAO);
  PISCO_CAMPO(DESCAJUSTEDET);
  PISCO_CAMPO(CODIGOTABCTBFIS);
  PISCO_CAMPO(CONTACTB);
  PISCO_CAMPO(DESCRCOMPL);
};


std::string ChaveDetalhe(int ACst, const std::string& ADtOper, const std::string& ADesc, const std::string& AConta,
                         const std::string& AInfo) {
  return std::to_string(ACst) + "|" + ADtOper + "|" + ADesc + "|" + AConta + "|" + AInfo;
}
}  // namespace

void TnFisEFDGeradorM115_M515Lcto::CarregarDados() {
  CarregarLctoAjusteDet();
  CarregarAjusteDetAuto();
}

std::string TnFisEFDGeradorM115_M515Lcto::GetSQLAjusteDet() const {
  return Format(" SELECT A.NATAJUSTE, A.INDAJUSTE, A.CODIGOAJUSTE, A.NUMPROCESSO, A.DATALCTOFIS, A.DESCAJUSTE, "
                " A.TIPOAPURACAO, D.VLRAJUSTE%0:s VLRAJUSTE, D.CST%0:s CST, D.BASECALCULOPISCOFINS, "
                " D.QUANTIDADE, A.ALIQAJUSTE%0:s ALIQAJUSTE, D.DATAOPERACAO, D.DESCAJUSTE DESCAJUSTEDET, "
                " D.CODIGOTABCTBFIS, D.CONTACTB, D.DESCRCOMPL FROM EFDAJUSTEPISCOFINSDET D "
                " JOIN EFDAJUSTEPISCOFINS A ON A.CODIGOEMPRESA = D.CODIGOEMPRESA "
                " AND A.CODIGOESTAB = D.CODIGOESTAB AND D.SEQAJUSTE = A.SEQ "
                " WHERE D.CODIGOEMPRESA = :CODIGOEMPRESA "
                " AND A.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL "
                " AND A.TIPOAJUSTE = 0 %1:s ORDER BY D.CODIGOESTAB, D.SEQAJUSTE, D.SEQ ",
                {std::string(FImposto == 15 ? "PIS" : "COFINS"), GetFilterEstab("D.")});
}

void TnFisEFDGeradorM115_M515Lcto::CarregarLctoAjusteDet() {
  auto ds = ExecutarSQLInt(GetSQLAjusteDet(), GetFiltroEmpresaPeriodo(), false, false, -1);
  TMapLctoAjusteDet m;
  FieldMapper().MapearFields(*ds, m);
  for (; !ds->Eof(); ds->Next()) {
    TRecM115_515 r;
    r.DET_VALOR_AJ = m.VLRAJUSTE.AsFloat();
    r.CST = static_cast<int>(m.CST.AsInteger());
    r.DET_BC_CRED = m.BASECALCULOPISCOFINS.AsFloat();
    r.DET_ALIQ = m.ALIQAJUSTE.AsFloat();
    r.DT_OPER_AJ = DataTotalEFD(m.DATAOPERACAO);
    r.DESC_AJ = m.DESCAJUSTEDET.AsString();
    r.COD_CTA = m.CONTACTB.AsString();
    r.INFO_COMPL = m.DESCRCOMPL.AsString();
    if (m.QUANTIDADE.AsFloat() > 0)
      r.AliquotaM100_M500Qtd = m.ALIQAJUSTE.AsFloat();
    else
      r.AliquotaM100_M500 = m.ALIQAJUSTE.AsFloat();
    r.M100_M500_TipoCred = TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(m.NATAJUSTE.AsString());
    r.M110_M510_IND_AJ = m.INDAJUSTE.AsString();
    r.M110_M510_COD_AJ = TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(m.CODIGOAJUSTE.AsString());
    r.M110_M510_NUM_DOC = m.NUMPROCESSO.AsString();
    r.M110_M510_DT_REF = DataTotalEFD(m.DATALCTOFIS);
    r.M110_M510_DESCR_AJ = DescricaoAjusteLcto(m.DESCAJUSTE.AsString());
    r.TipoApuracao = GetTipoApuracao(static_cast<int>(m.TIPOAPURACAO.AsInteger()));
    ProcessarM115_515(r);
  }
  Nutildb::DestruirSQL(ds);
}

// Mesma partilha e mesmo rateio do ajuste, para que cada parcela caia no ajuste da sua parcela.
void TnFisEFDGeradorM115_M515Lcto::ProcessarM115_515(const TRecM115_515& ARec) {
  const auto& seletores = SeletoresReceitaCST(ARec.CST);
  std::vector<TRecM115_515> partes;
  if (seletores.empty()) partes.push_back(ARec);
  for (int sel : seletores) {
    partes.push_back(ARec);
    partes.back().M100_M500_TipoCred = GetTipoCreditoReceita(ARec.M100_M500_TipoCred, sel);
  }
  for (auto& r : partes) {
    if (EhCSTComum(r.CST)) {
      const double prop = GetProporcao(r.CST, r.M100_M500_TipoCred);
      r.DET_BC_CRED = Nutil::RoundValor(r.DET_BC_CRED * prop, 2);
      r.DET_VALOR_AJ = Nutil::RoundValor(r.DET_VALOR_AJ * prop, 2);
    }
    GerarM115_515(r);
  }
}

void TnFisEFDGeradorM115_M515Lcto::GerarM115_515(const TRecM115_515& ARec) {
  auto* credito = ProcurarCreditoLcto(Controle(), FImposto, ARec.TipoApuracao,
                                      ChaveCreditoLcto(ARec.M100_M500_TipoCred, ARec.AliquotaM100_M500,
                                                       ARec.AliquotaM100_M500Qtd, 0));
  if (!credito) return;
  auto* ajuste = credito->FM110_510List.TryGetValue(ChaveAjusteLcto(
      ARec.M110_M510_IND_AJ, ARec.M110_M510_COD_AJ, ARec.M110_M510_NUM_DOC, ARec.M110_M510_DT_REF,
      ARec.M110_M510_DESCR_AJ));
  if (!ajuste) return;
  ajuste->FM115_515_225_625List.SomarDetalhe(ARec);
}

void TnFisEFDGeradorM115_M515Lcto::CriarAjusteDetAuto(TM110_510_220_620AjusteCredImp& AAjuste) {
  auto det = std::make_unique<TM115_515_225_625AjusteCredDet>();
  det->DET_VALOR_AJ = AAjuste.GetVL_AJ();
  det->DT_OPER_AJ = AAjuste.FDT_REF;
  det->COD_CTA = AAjuste.FCOD_CTA;
  const std::string chave = ChaveDetalhe(0, det->DT_OPER_AJ, "", det->COD_CTA, "");
  AAjuste.FM115_515_225_625List.Add(chave, std::move(det));
}

// O leiaute exige detalhe em todo ajuste de crédito: os que não têm nenhum ganham um só.
void TnFisEFDGeradorM115_M515Lcto::CarregarAjusteDetAuto() {
  for (auto& [tipo, m001] : *Controle().FLstRegistroM001)
    for (auto& [k, credito] : FImposto == 15 ? m001->FM100List : m001->FM500List)
      for (auto& [ka, ajuste] : credito->FM110_510List)
        if (!ajuste->FAjusteSCP && ajuste->GetVL_AJ() > 0 && ajuste->FM115_515_225_625List.Vazia())
          CriarAjusteDetAuto(*ajuste);
}
