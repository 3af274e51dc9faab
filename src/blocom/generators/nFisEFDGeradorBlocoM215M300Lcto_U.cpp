#include "blocom/generators/nFisEFDGeradorBlocoM215M300Lcto_U.h"

#include <fmt/format.h>

#include <algorithm>

#include "base/Decimal.h"
#include "base/Format.h"
#include "base/Nutil.h"
#include "blocom/control/nFisEFDControleBlocoM_U.h"
#include "blocom/generators/nFisEFDGeradorBlocoM110M510LctoEFD_U.h"
#include "blocom/generators/nFisEFDGeradorBlocoM210M610Lcto_U.h"
#include "host/DMSQLDataSet.h"
#include "host/FieldMapper.h"
#include "host/FisFuncoes.h"
#include "host/Nutildb.h"
#include "host/OpcaoEFD.h"
#include "host/LucroRealPresumido.h"

namespace {
struct TMapLctoAjusteM220 : TRowMap {
  PISCO_CAMPO(TIPOAPURACAO);
  PISCO_CAMPO(INDAJUSTE);
  PISCO_CAMPO(QUANTIDADE);
  PISCO_CAMPO(ALIQUOTA);
  PISCO_CAMPO(VLRAJUSTE);
  PISCO_CAMPO(NATAJUSTE);
  PISCO_CAMPO(CODIGOAJUSTE);
  PISCO_CAMPO(NUMPROCESSO);
  PISCO_CAMPO(DESCAJUSTE);
  PISCO_CAMPO(DATALCTOFIS);
  PISCO_CAMPO(CST);
};

struct TMapAjImob : TRowMap {
  PISCO_CAMPO(DESCAJUSTE);
  PISCO_CAMPO(INDAJUSTE);
  PISCO_CAMPO(CODIGOAJUSTE);
  PISCO_CAMPO(NATAJUSTE);
  PISCO_CAMPO(DATALCTOFIS);
  PISCO_CAMPO(ALIQAJUSTE);
  PISCO_CAMPO(VLAJUSTE);
};

struct TMapAjusteDetM225 : TRowMap {
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
  PISCO_CAMPO(CONTACTB);
  PISCO_CAMPO(DESCRCOMPL);
};

struct TMapInfAdicDiferidoLcto : TRowMap {
  PISCO_CAMPO(CNPJ);
  PISCO_CAMPO(VALORCONTABIL);
  PISCO_CAMPO(VALORPAGO);
  PISCO_CAMPO(RECEITAPISCOFINS);
  PISCO_CAMPO(ALIQPIS);
  PISCO_CAMPO(VALORPIS);
  PISCO_CAMPO(ALIQCOFINS);
  PISCO_CAMPO(VALORCOFINS);
  PISCO_CAMPO(TIPORETENCAO);
  PISCO_CAMPO(DATAPAGAMENTO);
  PISCO_CAMPO(QUANTIDADE);
  PISCO_CAMPO(TIPODEBITO);
};

struct TMapDiferidoPerAntLcto : TRowMap {
  PISCO_CAMPO(TIPODEBITO);
  PISCO_CAMPO(DATALCTOFIS);
  PISCO_CAMPO(DATAPAGAMENTO);
  PISCO_CAMPO(VALORCONTABIL);
  PISCO_CAMPO(VALORPAGO);
  PISCO_CAMPO(RECEITAPISCOFINS);
  PISCO_CAMPO(TIPORETENCAO);
};

std::string Data8(const TFieldRef& c) {
  return c.IsNull() || c.AsDateTime() <= 0 ? std::string() : FormatDateTime("ddmmyyyy", c.AsDateTime());
}
std::string Aliq2(double v) { return fmt::format("{:.2f}", Nutil::RoundValor(v, 2)); }
std::string Sufixo(int16_t AImposto) { return AImposto == 15 ? "PIS" : "COFINS"; }

// CST que servem a mais de um tipo de receita: as parcelas (seletores da proporção).
std::vector<int> PartesCST(int ACst) {
  switch (ACst) {
    case 53: case 63: return {0, 4};
    case 54: case 64: return {0, 6};
    case 55: case 65: return {4, 6};
    case 56: case 66: return {0, 4, 6};
    default: return {};
  }
}
bool CSTProporcional(int ACst) { return (ACst >= 53 && ACst <= 56) || (ACst >= 63 && ACst <= 66); }

TTipoApuracao Tipo(int AValor) { return static_cast<TTipoApuracao>(AValor); }

std::string ChaveAjuste(const std::string& AInd, const std::string& ACod, const std::string& ADoc,
                        const std::string& AData, const std::string& ADescr) {
  return AInd + "|" + ACod + "|" + ADoc + "|" + AData + "|" + ADescr;
}
}  // namespace

TM210_610DetalheContrib* ProcurarM210_610(TM210_610DetalheContribList& ALista, const std::string& ACodCont,
                                          double AAliq, const double* AAliqQuant) {
  const std::string aliq = Aliq2(AAliq);
  for (auto* d : ALista.GetListaOrdenada())
    if (d->FCOD_CONT == ACodCont && Aliq2(d->FALIQ) == aliq && (!AAliqQuant || Aliq2(d->FALIQ_QUANT) == Aliq2(*AAliqQuant)))
      return d;
  return nullptr;
}

// --- M215/M615 ---

void TnFisEFDGeradorM215_M615Lcto::CarregarDados() {
  const bool pis = FImposto == 15;
  for (const auto& [chave, aj] : GetExtraApuracao().FLstAjusteBC) {
    const int ind = aj->FIndicadorApropriacao;
    if (pis ? !(ind == iaPisCofins || ind == iaPis) : !(ind == iaPisCofins || ind == iaCofins)) continue;
    for (const auto& [chaveDet, det] : aj->FLstAjusteBCDetAliq) {
      if (det->FTipoImposto != FImposto) continue;
      const std::string tipo = TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(det->FTipoDebito);
      if (tipo != "01" && tipo != "02" && tipo != "04" && tipo != "51" && tipo != "52" && tipo != "54") continue;
      TRecM215_615 rec;
      rec.IND_AJ_BC = aj->FIndicadorAjuste;
      rec.VL_AJ_BC = det->FValorAjuste;
      rec.COD_AJ_BC = TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(aj->FCodigoAjuste);
      rec.NUM_DOC = aj->FNumeroDocumento;
      rec.DESCR_AJ_BC = aj->FDescricaoAjuste;
      rec.DT_REF = aj->FData > 0 ? FormatDateTime("ddmmyyyy", aj->FData) : std::string();
      rec.COD_CTA = aj->FContaContabil ? std::to_string(aj->FContaContabil) : std::string();
      rec.CNPJ = aj->FCNPJ;
      rec.INFO_COMPL = aj->FInfoComplementar;
      rec.TIPODEBITO = tipo;
      rec.ALIQ = det->FAliq;
      GerarM215_615(rec);
    }
  }
}

void TnFisEFDGeradorM215_M615Lcto::GerarM215_615(const TRecM215_615& ARec) {
  auto* pai = ProcurarM210_610(GetLstM210_610(ARec.TIPOAPURACAO), ARec.TIPODEBITO, ARec.ALIQ, nullptr);
  if (!pai) return;
  const std::string chave = std::to_string(ARec.IND_AJ_BC) + "|" + ARec.COD_AJ_BC + "|" + ARec.NUM_DOC + "|" +
                            ARec.COD_CTA + "|" + ARec.DT_REF + "|" + ARec.CNPJ + "|" + ARec.INFO_COMPL;
  if (auto* r = pai->FM215_615List.TryGetValue(chave)) {
    r->FVL_AJ_BC += ARec.VL_AJ_BC;
    return;
  }
  auto r = std::make_unique<TM215_615AjusteBCContribPIS>();
  r->FIND_AJ_BC = ARec.IND_AJ_BC;
  r->FVL_AJ_BC = ARec.VL_AJ_BC;
  r->FCOD_AJ_BC = ARec.COD_AJ_BC;
  r->FNUM_DOC = ARec.NUM_DOC;
  r->FDESCR_AJ_BC = ARec.DESCR_AJ_BC;
  r->FDT_REF = ARec.DT_REF;
  r->FCOD_CTA = ARec.COD_CTA;
  r->FCNPJ = ARec.CNPJ;
  r->FINFO_COMPL = ARec.INFO_COMPL;
  pai->FM215_615List.Add(chave, std::move(r));
}

// --- M220/M620 ---

void TnFisEFDGeradorM220_M620Lcto::CarregarDados() {
  CarregarLctoAjuste();
  if (GerarAjusteImob()) CarregarAjustesImob();
}

void TnFisEFDGeradorM220_M620Lcto::DepoisCarregarDadosFilhos() {
  if (GetModoGeracao() == TModoGeracao::mgSCP) CarregarAjustesSCP();
}

void TnFisEFDGeradorM220_M620Lcto::CarregarLctoAjuste() {
  auto ds = ExecutarSQLInt(GetSqlLctoAjuste(), GetFiltroEmpresaPeriodo(), false, false, -1);
  auto& m = FieldMapper().MapearFields<TMapLctoAjusteM220>(*ds);
  for (; !ds->Eof(); ds->Next()) {
    TRecM220_620 rec;
    rec.IND_AJ = m.INDAJUSTE.AsString();
    rec.VL_AJ = m.VLRAJUSTE.AsFloat();
    rec.COD_AJ = TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(m.CODIGOAJUSTE.AsString());
    rec.NUM_DOC = m.NUMPROCESSO.AsString();
    rec.DESCR_AJ = m.DESCAJUSTE.AsString().substr(0, 100);
    rec.DT_REF = Data8(m.DATALCTOFIS);
    rec.CST = static_cast<int>(m.CST.AsInteger());
    rec.TipoCredM210_M610 = TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(m.NATAJUSTE.AsString());
    if (m.QUANTIDADE.AsFloat() > 0)
      rec.AliquotaM210_M610Qtd = m.ALIQUOTA.AsFloat();
    else
      rec.AliquotaM210_M610 = m.ALIQUOTA.AsFloat();
    rec.TipoApuracao = Tipo(GetTipoApuracao(static_cast<int>(m.TIPOAPURACAO.AsInteger())));
    ProcessarM220_620(rec, false);
  }
  Nutildb::DestruirSQL(ds);
}

void TnFisEFDGeradorM220_M620Lcto::ProcessarM220_620(const TRecM220_620& ARec, bool ACriar) {
  const auto partes = PartesCST(ARec.CST);
  std::vector<TRecM220_620> lista;
  if (partes.empty()) lista.push_back(ARec);
  for (int p : partes) {
    lista.push_back(ARec);
    lista.back().TipoCredM210_M610 = GetTipoCreditoReceita(ARec.TipoCredM210_M610, p);
  }
  for (auto& rec : lista) {
    if (CSTProporcional(rec.CST))
      rec.VL_AJ = Nutil::RoundValor(rec.VL_AJ * GetProporcao(rec.CST, rec.TipoCredM210_M610), 2);
    GerarM220_620(rec, ACriar);
  }
}

void TnFisEFDGeradorM220_M620Lcto::GerarM220_620(const TRecM220_620& ARec, bool ACriar) {
  auto& lista = GetLstM210_610(ARec.TipoApuracao);
  const std::string chavePai = ChaveM210_610(ARec.TipoCredM210_M610, ARec.AliquotaM210_M610, ARec.AliquotaM210_M610Qtd);
  auto* pai = lista.TryGetValue(chavePai);
  if (!pai) {
    if (!ACriar) return;
    auto d = std::make_unique<TM210_610DetalheContrib>();
    d->FCOD_CONT = ARec.TipoCredM210_M610;
    d->FALIQ = ARec.AliquotaM210_M610;
    d->FALIQ_QUANT = ARec.AliquotaM210_M610Qtd;
    pai = &lista.Add(chavePai, std::move(d));
  }
  const std::string chave = ChaveAjuste(ARec.IND_AJ, ARec.COD_AJ, ARec.NUM_DOC, ARec.DT_REF, ARec.DESCR_AJ);
  if (auto* aj = pai->FM220_620List.TryGetValue(chave)) {
    aj->FVL_AJ = aj->GetVL_AJ() + ARec.VL_AJ;
    return;
  }
  auto aj = std::make_unique<TM110_510_220_620AjusteCredImp>();
  aj->FIND_AJ = ARec.IND_AJ;
  aj->FVL_AJ = ARec.VL_AJ;
  aj->FCOD_AJ = ARec.COD_AJ;
  aj->FNUM_DOC = ARec.NUM_DOC;
  aj->FDESCR_AJ = ARec.DESCR_AJ;
  aj->FDT_REF = ARec.DT_REF;
  aj->FAjusteSCP = ARec.AjusteSCP;
  pai->FM220_620List.Add(chave, std::move(aj));
}

void TnFisEFDGeradorM220_M620Lcto::CarregarAjustesImob() {
  const std::string sql =
      Format(" select  L.DESCAJUSTE,  L.INDAJUSTE,  L.CODIGOAJUSTE,  L.NATAJUSTE,  L.DATALCTOFIS,  L.ALIQAJUSTE%s ALIQAJUSTE, ",
             {TVariant(Sufixo(FImposto))}) +
      (FImposto == 15 ? "L.VLRAJUSTEPIS" : "L.VLRAJUSTECOFINS") + " VLAJUSTE " + " from LUCROPRESAJUSTEPISCOFINS L " +
      " where L.CODIGOEMPRESA = :pCODIGOEMPRESA " + " AND L.CODIGOESTAB = " +
      std::to_string(EstabComoInteiro(GetCodigoEstab())) + " and L.DATALCTOFIS between :pDATAINICIAL and :pDATAFINAL " +
      " and L.NATAJUSTE = " + Nutil::ValorParaSQL(TVariant(std::string("4.3.05.54")));
  auto ds = ExecutarSQLInt(sql, GetFiltroEmpresaPeriodo(), false, false, -1);
  auto& m = FieldMapper().MapearFields<TMapAjImob>(*ds);
  for (; !ds->Eof(); ds->Next()) {
    TRecM220_620 rec;
    rec.IND_AJ = m.INDAJUSTE.AsString();
    rec.VL_AJ = m.VLAJUSTE.AsFloat();
    rec.COD_AJ = TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(m.CODIGOAJUSTE.AsString());
    rec.DESCR_AJ = m.DESCAJUSTE.AsString().substr(0, 100);
    rec.DT_REF = Data8(m.DATALCTOFIS);
    rec.TipoCredM210_M610 = "54";
    rec.AliquotaM210_M610 = m.ALIQAJUSTE.AsFloat();
    GerarM220_620(rec, false);
  }
  Nutildb::DestruirSQL(ds);
}

void TnFisEFDGeradorM220_M620Lcto::CarregarAjustesSCP() {
  const TVariant inscr = TnDMSQLDataSet::PegarValorCampo(
      "ESTAB", "INSCRICAOSCP",
      "CODIGOEMPRESA = " + Nutil::ValorParaSQL(TVariant(int64_t{GetCodigoEmpresa()})) +
          " and CODIGOESTAB = " + Nutil::ValorParaSQL(TVariant(int64_t{EstabComoInteiro(GetCodigoEstab())})));
  const std::string descr = "Ajuste SCP " + VarToStr(inscr);
  const bool cumulativa = IncidenciaCumulativa();
  for (const auto& [tipo, m001] : *Controle().FLstRegistroM001) {
    std::vector<TRecM220_620> ajustes;
    for (const auto& [chave, det] : GetLstM210_610(tipo)) {
      int cod = 0;
      try {
        cod = std::stoi(det->FCOD_CONT);
      } catch (...) {
      }
      static constexpr int kCodigos[] = {1, 2, 3, 4, 31, 32, 51, 52, 53, 54};
      if (std::find(std::begin(kCodigos), std::end(kCodigos), cod) == std::end(kCodigos)) continue;
      TRecM220_620 rec;
      rec.VL_AJ = cumulativa ? det->GetVL_CONT_PER() : det->GetVL_CONT_APUR();
      rec.COD_AJ = "05";
      rec.DESCR_AJ = descr;
      rec.AjusteSCP = true;
      rec.TipoApuracao = tipo;
      // A SCP reduz o débito do próprio detalhe e o leva ao detalhe 71/72 de alíquota 0.
      rec.IND_AJ = "0";
      rec.TipoCredM210_M610 = det->FCOD_CONT;
      rec.AliquotaM210_M610 = det->FALIQ;
      rec.AliquotaM210_M610Qtd = det->FALIQ_QUANT;
      ajustes.push_back(rec);
      rec.IND_AJ = "1";
      rec.TipoCredM210_M610 = cod <= 4 ? "71" : "72";
      rec.AliquotaM210_M610 = 0;
      rec.AliquotaM210_M610Qtd = 0;
      ajustes.push_back(rec);
    }
    for (const auto& rec : ajustes) ProcessarM220_620(rec, true);
  }
}

bool TnFisEFDGeradorM220_M620Lcto::IncidenciaCumulativa() { return ControleOpcaoEFD().GetIncTributaria() == 2; }

bool TnFisEFDGeradorM220_M620LctoDacon::IncidenciaCumulativa() {
  // Sem opção da EFD a incidência vem do regime: o presumido e o lucro real no regime 3 são
  // só cumulativos.
  if (ControleOpcaoEFD().GetEhOptanteEFD()) return TnFisEFDGeradorM220_M620Lcto::IncidenciaCumulativa();
  const auto& dacon = Controle().FDadosDacon;
  if (!dacon.OptanteLucroReal) return true;
  auto& lr = ControleLucroReal();
  lr.SetCodigoEmpresa(GetCodigoEmpresa());
  return lr.RegimeApuracao(dacon.DataOpcao) == 3;
}

std::string TnFisEFDGeradorM220_M620LctoDacon::GetSqlLctoAjuste() {
  const std::string parte =
      " SELECT AJ.INDAJUSTE, 0 TIPOAPURACAO, 0 QUANTIDADE, AJ.ALIQAJUSTE%0:s ALIQUOTA, AJ.VLRAJUSTE%0:s VLRAJUSTE,"
      " AJ.NATAJUSTE, AJ.CODIGOAJUSTE, AJ.NUMPROCESSO, AJ.DESCAJUSTE, AJ.DATALCTOFIS, 0 CST FROM %1:s AJ"
      " WHERE AJ.CODIGOEMPRESA = :CODIGOEMPRESA AND AJ.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL"
      " AND AJ.TIPOAJUSTE = 1%2:s";
  const TVariant sufixo = Sufixo(FImposto), estab = GetFilterEstab("AJ.");
  return Format(parte, {sufixo, TVariant(std::string("LUCROREALAJUSTEPISCOFINS")), estab}) + " UNION ALL" +
         Format(parte, {sufixo, TVariant(std::string("LUCROPRESAJUSTEPISCOFINS")), estab});
}

bool TnFisEFDGeradorM220_M620LctoDacon::GerarAjusteImob() {
  const auto& dacon = Controle().FDadosDacon;
  if (!dacon.OptanteLucroReal) return true;
  auto& lr = ControleLucroReal();
  lr.SetCodigoEmpresa(GetCodigoEmpresa());
  return lr.RegimeApuracao(dacon.DataOpcao) == 3;
}

std::string TnFisEFDGeradorM220_M620LctoEFD::GetSqlLctoAjuste() {
  return Format(
      " SELECT AJ.INDAJUSTE, AJ.TIPOAPURACAO, D.QUANTIDADE, AJ.ALIQAJUSTE%0:s ALIQUOTA, 0 VLRAJUSTE, AJ.NATAJUSTE,"
      " AJ.CODIGOAJUSTE, AJ.NUMPROCESSO, AJ.DESCAJUSTE, AJ.DATALCTOFIS, D.CST%0:s CST, D.CONTACTB"
      " FROM EFDAJUSTEPISCOFINS AJ JOIN EFDAJUSTEPISCOFINSDET D ON D.CODIGOEMPRESA = AJ.CODIGOEMPRESA"
      " AND D.CODIGOESTAB = AJ.CODIGOESTAB AND AJ.SEQ = D.SEQAJUSTE WHERE AJ.CODIGOEMPRESA = :CODIGOEMPRESA"
      " AND AJ.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL AND AJ.TIPOAJUSTE = 1%1:s",
      {TVariant(Sufixo(FImposto)), TVariant(GetFilterEstab("AJ."))});
}

void TnFisEFDGeradorM220_M620LctoEFD::CriarGeradoresFilhos() { CriarFilho<TnFisEFDGeradorM225_M625Lcto>(); }

void TnFisEFDGeradorM220_M620LctoEFD::DepoisCarregarDados() {
  auto ds = ExecutarSQLInt(GetSqlAjustesEFDSemDetalhe(GetTipoImposto(), 1, GetFilterEstab("AJ.")),
                           GetFiltroEmpresaPeriodo(), false, false, -1);
  AvisarAjustesEFDSemDetalhe(*this, *ds, GetTipoImposto(), GetNomeRegistro());
  Nutildb::DestruirSQL(ds);
}

// --- M225/M625 ---

void TnFisEFDGeradorM225_M625Lcto::CarregarDados() {
  CarregarLctoAjusteDet();
  CarregarAjusteDetAuto();
}

void TnFisEFDGeradorM225_M625Lcto::CarregarLctoAjusteDet() {
  const std::string sql = Format(
      " SELECT A.NATAJUSTE, A.INDAJUSTE, A.CODIGOAJUSTE, A.NUMPROCESSO, A.DATALCTOFIS, A.DESCAJUSTE, A.TIPOAPURACAO,"
      " D.VLRAJUSTE%0:s VLRAJUSTE, D.CST%0:s CST, D.BASECALCULOPISCOFINS, D.QUANTIDADE, A.ALIQAJUSTE%0:s ALIQAJUSTE,"
      " D.DATAOPERACAO, D.DESCAJUSTE DESCAJUSTEDET, D.CODIGOTABCTBFIS, D.CONTACTB, D.DESCRCOMPL"
      " FROM EFDAJUSTEPISCOFINSDET D JOIN EFDAJUSTEPISCOFINS A ON A.CODIGOEMPRESA = D.CODIGOEMPRESA"
      " AND A.CODIGOESTAB = D.CODIGOESTAB AND D.SEQAJUSTE = A.SEQ WHERE D.CODIGOEMPRESA = :CODIGOEMPRESA"
      " AND A.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL AND A.TIPOAJUSTE = 1%1:s",
      {TVariant(Sufixo(FImposto)), TVariant(GetFilterEstab("D."))});
  auto ds = ExecutarSQLInt(sql, GetFiltroEmpresaPeriodo(), false, false, -1);
  auto& m = FieldMapper().MapearFields<TMapAjusteDetM225>(*ds);
  for (; !ds->Eof(); ds->Next()) {
    TRecM225_625 rec;
    rec.DET_VALOR_AJ = m.VLRAJUSTE.AsFloat();
    rec.CST = static_cast<int>(m.CST.AsInteger());
    rec.DET_BC_CRED = m.BASECALCULOPISCOFINS.AsFloat();
    rec.DET_ALIQ = m.ALIQAJUSTE.AsFloat();
    rec.DT_OPER_AJ = Data8(m.DATAOPERACAO);
    rec.DESC_AJ = m.DESCAJUSTEDET.AsString();
    rec.COD_CTA = m.CONTACTB.AsString();
    rec.INFO_COMPL = m.DESCRCOMPL.AsString();
    if (m.QUANTIDADE.AsFloat() > 0)
      rec.AliquotaM210_M610Qtd = rec.DET_ALIQ;
    else
      rec.AliquotaM210_M610 = rec.DET_ALIQ;
    rec.M210_M610_TipoDebito = TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(m.NATAJUSTE.AsString());
    rec.M220_M620_IND_AJ = m.INDAJUSTE.AsString();
    rec.M220_M620_COD_AJ = TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(m.CODIGOAJUSTE.AsString());
    rec.M220_M620_NUM_DOC = m.NUMPROCESSO.AsString();
    rec.M220_M620_DT_REF = Data8(m.DATALCTOFIS);
    rec.M220_M620_DESCR_AJ = m.DESCAJUSTE.AsString().substr(0, 100);
    rec.TipoApuracao = Tipo(GetTipoApuracao(static_cast<int>(m.TIPOAPURACAO.AsInteger())));
    // Mesma divisão por CST do ajuste, para o detalhe achar a parcela a que pertence.
    const auto partes = PartesCST(rec.CST);
    std::vector<TRecM225_625> lista;
    if (partes.empty()) lista.push_back(rec);
    for (int p : partes) {
      lista.push_back(rec);
      lista.back().M210_M610_TipoDebito = GetTipoCreditoReceita(rec.M210_M610_TipoDebito, p);
    }
    for (auto& r : lista) {
      if (CSTProporcional(r.CST)) {
        const double prop = GetProporcao(r.CST, r.M210_M610_TipoDebito);
        r.DET_BC_CRED = Nutil::RoundValor(r.DET_BC_CRED * prop, 2);
        r.DET_VALOR_AJ = Nutil::RoundValor(r.DET_VALOR_AJ * prop, 2);
      }
      GerarM225_625(r);
    }
  }
  Nutildb::DestruirSQL(ds);
}

void TnFisEFDGeradorM225_M625Lcto::GerarM225_625(const TRecM225_625& ARec) {
  auto* det = GetLstM210_610(ARec.TipoApuracao)
                  .TryGetValue(ChaveM210_610(ARec.M210_M610_TipoDebito, ARec.AliquotaM210_M610, ARec.AliquotaM210_M610Qtd));
  if (!det) return;
  auto* aj = det->FM220_620List.TryGetValue(ChaveAjuste(ARec.M220_M620_IND_AJ, ARec.M220_M620_COD_AJ,
                                                          ARec.M220_M620_NUM_DOC, ARec.M220_M620_DT_REF,
                                                          ARec.M220_M620_DESCR_AJ));
  if (!aj) return;
  aj->FM115_515_225_625List.SomarDetalhe(ARec);
}

void TnFisEFDGeradorM225_M625Lcto::CarregarAjusteDetAuto() {
  for (const auto& [tipo, m001] : *Controle().FLstRegistroM001)
    for (const auto& [chaveDet, det] : GetLstM210_610(tipo))
      for (const auto& [chaveAj, aj] : det->FM220_620List) {
        if (aj->FAjusteSCP || aj->GetVL_AJ() <= 0 || !aj->FM115_515_225_625List.Vazia()) continue;
        auto r = std::make_unique<TM115_515_225_625AjusteCredDet>();
        r->DET_VALOR_AJ = aj->GetVL_AJ();
        r->DT_OPER_AJ = aj->FDT_REF;
        r->COD_CTA = aj->FCOD_CTA;
        const std::string chave = fmt::format("{}|{}|{}|{}|{}|{}|{}|{}", Decimal::TextoChave(r->DET_VALOR_AJ, 2), r->CST,
                                              Decimal::TextoChave(r->DET_BC_CRED), Decimal::TextoChave(r->DET_ALIQ),
                                              r->DT_OPER_AJ, r->DESC_AJ, r->COD_CTA, r->INFO_COMPL);
        aj->FM115_515_225_625List.Add(chave, std::move(r));
      }
}

// --- M230/M630 ---

namespace {
// Linha de retido (diferimento) entregue ao controle: compensada depois contra o M200/M600.
void InserirRetido(TnFisEFDControleCredito& AControle, int16_t AImposto, TDateTime AData, int ATipoRetencao,
                   TDateTime ARecebimento, const std::string& ATipoDebito, double ADiferir, double ADiferido) {
  TDadosRetido r;
  TnFisEFDControleCredito::LimparDadosCredRetido(r);
  r.IMPOSTO = AImposto;
  r.DATATOTAL = AData;
  r.INDNATRET = static_cast<int16_t>(ATipoRetencao);
  r.PRRECRET = ARecebimento;
  r.TIPODEBITO = ATipoDebito;
  r.VLDIFERIRAPU = ADiferir;
  r.VLDIFERIDOAPU = ADiferido;
  AControle.InserirCredRetido(r);
}
}  // namespace

std::string TnFisEFDGeradorM230_M630LctoEFD::GetSqlM230_M630() {
  // Tipo de débito do próprio tributo (o PIS tem coluna própria), como o M210 o classifica.
  const std::string deb = FImposto == 15 ? "LP.TIPODEBITOPIS" : "LP.TIPODEBITO";
  return "SELECT PS.INSCRFEDERAL CNPJ,"
         " (SELECT SUM(PC.RECEITAPISCOFINS) FROM LCTOFISSAIPISCOFINS PC WHERE PC.CODIGOEMPRESA = L.CODIGOEMPRESA"
         " AND PC.CHAVELCTOFISSAI = L.CHAVELCTOFISSAI) VALORCONTABIL,"
         " COALESCE((SELECT SUM(RP.BASECALCULO) FROM LCTOFISSAIRETIDOPAGAMENTO RP WHERE RP.CODIGOEMPRESA = L.CODIGOEMPRESA"
         " AND RP.CHAVELCTOFISSAI = L.CHAVELCTOFISSAI AND RP.DATAPAGAMENTO BETWEEN :DATAINICIAL AND :DATAFINAL"
         " AND RP.TIPOIMPOSTO = :TIPOIMPOSTO), 0) VALORPAGO,"
         " LP.RECEITAPISCOFINS, LP.ALIQPIS, LP.VALORPIS, LP.ALIQCOFINS, LP.VALORCOFINS, R.TIPORETENCAO,"
         " R.DATALCTOFIS DATAPAGAMENTO, LP.QUANTIDADE, " + deb + " TIPODEBITO"
         " FROM LCTOFISSAIRETIDO R"
         " JOIN LCTOFISSAI L ON L.CODIGOEMPRESA = R.CODIGOEMPRESA AND L.CHAVELCTOFISSAI = R.CHAVELCTOFISSAI"
         " JOIN LCTOFISSAIPISCOFINS LP ON LP.CODIGOEMPRESA = R.CODIGOEMPRESA AND LP.CHAVELCTOFISSAI = R.CHAVELCTOFISSAI"
         " JOIN PESSOA PS ON PS.CODIGOPESSOA = L.CODIGOPESSOA"
         " WHERE R.CODIGOEMPRESA = :CODIGOEMPRESA" + GetFilterEstab("R.") +
         " AND R.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL AND PS.ORGAOPUBLICO IN (1, 2, 3)"
         // Só vendas a prazo; EXISTS para que duas duplicatas não dupliquem a linha.
         " AND EXISTS (SELECT 1 FROM DUPLICATASAI D WHERE D.CODIGOEMPRESA = L.CODIGOEMPRESA"
         " AND D.CHAVELCTOFISSAI = L.CHAVELCTOFISSAI)"
         " ORDER BY R.CHAVELCTOFISSAI, LP.SEQ";
}

void TnFisEFDGeradorM230_M630Lcto::CarregarDados() {
  const bool pis = FImposto == 15;
  // Parâmetros na ordem em que os nomes aparecem no texto.
  const TParams params{VarDate(GetDataInicial()), VarDate(GetDataFinal()), TVariant(int64_t{pis ? 24 : 25}),
                       TVariant(int64_t{GetCodigoEmpresa()})};
  auto ds = ExecutarSQLInt(GetSqlM230_M630(), params, false, false, -1);
  auto& m = FieldMapper().MapearFields<TMapInfAdicDiferidoLcto>(*ds);
  auto& lista = GetLstM210_610(TTipoApuracao::taNormal);
  for (; !ds->Eof(); ds->Next()) {
    const double contabil = m.VALORCONTABIL.AsFloat(), pago = m.VALORPAGO.AsFloat(), receita = m.RECEITAPISCOFINS.AsFloat();
    double naoRecebido = contabil - pago;
    if (naoRecebido <= 0) continue;
    // Documento com várias linhas: o que falta receber é rateado pela receita da linha.
    if (contabil > receita) naoRecebido = Nutil::RoundValor(receita / contabil * naoRecebido, 2);
    const double aliq = (pis ? m.ALIQPIS : m.ALIQCOFINS).AsFloat();
    const double diferir = pago == 0 ? (pis ? m.VALORPIS : m.VALORCOFINS).AsFloat() : Nutil::RoundValor(naoRecebido * aliq / 100, 2);
    const std::string tipoDebito = m.TIPODEBITO.AsString();
    const TDateTime recebimento = m.DATAPAGAMENTO.IsNull() ? 0 : m.DATAPAGAMENTO.AsDateTime();
    InserirRetido(GetControleCredito(), FImposto, GetDataInicial(), static_cast<int>(m.TIPORETENCAO.AsInteger()), recebimento,
                  tipoDebito, diferir, 0);
    // Linha por quantidade: o detalhe tem alíquota 0 e a alíquota da linha por unidade.
    const double qtd = m.QUANTIDADE.AsFloat();
    const double aliqQuant = qtd > 0 ? aliq : 0;
    auto* pai = ProcurarM210_610(lista, TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(tipoDebito), qtd > 0 ? 0 : aliq,
                                 &aliqQuant);
    if (!pai) continue;
    const std::string cnpj = m.CNPJ.AsString();
    const std::string chave = cnpj + "|0";
    auto* r = pai->FM230_630List.TryGetValue(chave);
    if (!r) {
      auto novo = std::make_unique<TM230_630InfAdicDiferido>();
      novo->FCNPJ = cnpj;
      novo->FCOD_CRED = "0";
      r = &pai->FM230_630List.Add(chave, std::move(novo));
    }
    r->FVL_VEND += std::min(contabil, receita);
    r->FVL_NAO_RECEB += naoRecebido;
    r->FVL_CONT_DIF += diferir;
  }
  Nutildb::DestruirSQL(ds);
}

// --- M300/M700 ---

std::string TnFisEFDGeradorM300_M700LctoEFD::GetSqlM300_M700() {
  const std::string deb = FImposto == 15 ? "LP.TIPODEBITOPIS" : "LP.TIPODEBITO";
  return "SELECT " + deb + " TIPODEBITO, L.DATALCTOFIS, P.DATAPAGAMENTO,"
         " (SELECT SUM(LT.RECEITAPISCOFINS) FROM LCTOFISSAIPISCOFINS LT WHERE LT.CODIGOEMPRESA = L.CODIGOEMPRESA"
         " AND LT.CHAVELCTOFISSAI = L.CHAVELCTOFISSAI) VALORCONTABIL,"
         " P.VALOR VALORPAGO, LP.RECEITAPISCOFINS, R.TIPORETENCAO"
         " FROM LCTOFISSAIRETIDO R"
         " JOIN LCTOFISSAIRETIDOPAGAMENTO P ON P.CODIGOEMPRESA = R.CODIGOEMPRESA AND P.CHAVELCTOFISSAI = R.CHAVELCTOFISSAI"
         " JOIN LCTOFISSAI L ON L.CODIGOEMPRESA = R.CODIGOEMPRESA AND L.CHAVELCTOFISSAI = R.CHAVELCTOFISSAI"
         " JOIN LCTOFISSAIPISCOFINS LP ON LP.CODIGOEMPRESA = R.CODIGOEMPRESA AND LP.CHAVELCTOFISSAI = R.CHAVELCTOFISSAI"
         " JOIN PESSOA PS ON PS.CODIGOPESSOA = L.CODIGOPESSOA"
         " WHERE R.CODIGOEMPRESA = :CODIGOEMPRESA" + GetFilterEstab("R.") +
         " AND L.DATALCTOFIS < :DATAINICIAL AND P.DATAPAGAMENTO BETWEEN :DATAINICIAL AND :DATAFINAL"
         " AND P.TIPOIMPOSTO = :TIPOIMPOSTO AND PS.ORGAOPUBLICO IN (1, 2, 3)"
         " ORDER BY R.CHAVELCTOFISSAI, P.SEQ, LP.SEQ";
}

void TnFisEFDGeradorM300_M700Lcto::CarregarDados() {
  const TParams params{TVariant(int64_t{GetCodigoEmpresa()}), VarDate(GetDataInicial()), VarDate(GetDataFinal()),
                       TVariant(int64_t{FImposto == 15 ? 24 : 25})};
  auto ds = ExecutarSQLInt(GetSqlM300_M700(), params, false, false, -1);
  auto& m = FieldMapper().MapearFields<TMapDiferidoPerAntLcto>(*ds);
  auto& lista = GetLstM210_610(TTipoApuracao::taNormal);
  for (; !ds->Eof(); ds->Next()) {
    const double contabil = m.VALORCONTABIL.AsFloat(), receita = m.RECEITAPISCOFINS.AsFloat();
    double pago = m.VALORPAGO.AsFloat();
    if (contabil > receita) pago = Nutil::RoundValor(receita / contabil * pago, 2);
    const std::string tipoDebito = m.TIPODEBITO.AsString();
    const TDateTime recebimento = m.DATAPAGAMENTO.IsNull() ? 0 : m.DATAPAGAMENTO.AsDateTime();
    InserirRetido(GetControleCredito(), FImposto, GetDataInicial(), static_cast<int>(m.TIPORETENCAO.AsInteger()), recebimento,
                  tipoDebito, 0, pago);
    auto* pai = lista.Vazia() ? nullptr : [&]() -> TM210_610DetalheContrib* {
      const std::string cod = TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(tipoDebito);
      for (auto* d : lista.GetListaOrdenada())
        if (d->FCOD_CONT == cod) return d;
      return nullptr;
    }();
    if (!pai) continue;
    const std::string perApur = m.DATALCTOFIS.IsNull() ? std::string() : FormatDateTime("mmyyyy", m.DATALCTOFIS.AsDateTime());
    const std::string chave = "|" + perApur + "|" + (recebimento > 0 ? FormatDateTime("ddmmyyyy", recebimento) : "");
    auto* r = pai->FM300_700List.TryGetValue(chave);
    if (!r) {
      auto novo = std::make_unique<TM300_700DiferidoPerAnt>();
      novo->FCOD_CONT = pai->FCOD_CONT;
      novo->FPER_APUR = perApur;
      novo->FDT_RECEB = recebimento;
      r = &pai->FM300_700List.Add(chave, std::move(novo));
    }
    r->FVL_CONT_APUR_DIFER += pago;
  }
  Nutildb::DestruirSQL(ds);
}
