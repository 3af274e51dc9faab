#include "blocom/generators/nFisEFDGeradorBlocoM200M600_U.h"

#include <map>

#include "blocom/generators/nFisEFDGeradorBlocoM100M500_U.h"
#include "host/FieldMapper.h"
#include "host/FisFuncoes.h"
#include "base/Nutil.h"
#include "host/Nutildb.h"
#include "host/OpcaoEFD.h"

TM200_600ConsolidContribImposto& RegM200_600(TnFisEFDControleBlocoM& AControle, int16_t AImposto, TTipoApuracao ATipo) {
  auto& m001 = AControle.GetRegistroM001(ATipo);
  return AImposto == 15 ? *m001.FM200 : *m001.FM600;
}

namespace {
struct TMapTotalM200 : TRowMap {
  PISCO_CAMPO(VLTOTCONTNCPER);
  PISCO_CAMPO(VLTOTCREDDESC);
  PISCO_CAMPO(VLTOTCREDDESCANT);
  PISCO_CAMPO(VLTOTCONTNCDEV);
  PISCO_CAMPO(VLRETNC);
  PISCO_CAMPO(VLOUTDEDNC);
  PISCO_CAMPO(VLCONTNCREC);
  PISCO_CAMPO(VLTOTCONTCUMPER);
  PISCO_CAMPO(VLRETCUM);
  PISCO_CAMPO(VLOUTDEDCUM);
  PISCO_CAMPO(VLDIFERIDOCUM);
  PISCO_CAMPO(VLDIFERIRCUM);
};

struct TMapDebitoPag : TRowMap {
  PISCO_CAMPO(NUMCAMPO);
  PISCO_CAMPO(CODREC);
  PISCO_CAMPO(VLDEBITO);
};

struct TMapDebito : TRowMap {
  PISCO_CAMPO(SEQ);
  PISCO_CAMPO(TIPODEBITO);
  PISCO_CAMPO(VLRRECBRT);
  PISCO_CAMPO(VLBCCONT);
  PISCO_CAMPO(ALIQ);
  PISCO_CAMPO(QUANTBC);
};

struct TMapExcluCoop : TRowMap {
  PISCO_CAMPO(SEQDEB);
  PISCO_CAMPO(INDTIPCOOP);
  PISCO_CAMPO(VLBCCONTANTEXCCOOP);
  PISCO_CAMPO(VLEXCCOOPGER);
  PISCO_CAMPO(VLEXCESPCOOP);
};

struct TMapAjusteBC : TRowMap {
  PISCO_CAMPO(INDAJBC);
  PISCO_CAMPO(SEQ);
  PISCO_CAMPO(SEQDEB);
  PISCO_CAMPO(VLAJBC);
  PISCO_CAMPO(CODAJBC);
  PISCO_CAMPO(NUMDOC);
  PISCO_CAMPO(DESCRAJBC);
  PISCO_CAMPO(DTREF);
  PISCO_CAMPO(CODCTA);
  PISCO_CAMPO(CNPJ);
  PISCO_CAMPO(INFOCOMPL);
};

struct TMapInfAdicDiferido : TRowMap {
  PISCO_CAMPO(SEQ);
  PISCO_CAMPO(SEQDEB);
  PISCO_CAMPO(TIPOCREDITO);
  PISCO_CAMPO(CNPJ);
  PISCO_CAMPO(VLVEND);
  PISCO_CAMPO(VLNAORECEB);
  PISCO_CAMPO(VLCONTDIF);
  PISCO_CAMPO(VLCREDDIF);
};

struct TMapDiferidoPerAnt : TRowMap {
  PISCO_CAMPO(SEQ);
  PISCO_CAMPO(SEQDEB);
  PISCO_CAMPO(TIPODEBITO);
  PISCO_CAMPO(NATCREDDESC);
  PISCO_CAMPO(PERAPUR);
  PISCO_CAMPO(DTRECEB);
  PISCO_CAMPO(VLCONTAPURDIFER);
  PISCO_CAMPO(VLCREDDESCDIFER);
};

// Detalhe pai (tipo 99) de um filho copiado dos totais: erro de chave quando falta.
TM210_610DetalheContrib& DetalheEFD(TnFisEFDGeradorFilhoM210& g, const TFieldRef& ASeqPai) {
  return g.GetLstM210_610(TTipoApuracao::taEFD).Items(TnFisEFDGeradorBlocoM::MontarChave(ASeqPai.AsInteger()));
}
}  // namespace

// --- M200/M600 ---

void TnFisEFDGeradorM200_M600EFD::CriarGeradoresFilhos() {
  CriarFilho<TnFisEFDGeradorM210_M610EFD>();
  CriarFilho<TnFisEFDGeradorM205_M605EFD>();
}

void TnFisEFDGeradorM200_M600EFD::CarregarDados() {
  auto ds = ExecutarSQLInt(GetSqlTotalEFD(" VLTOTCONTNCPER,  VLTOTCREDDESC,  VLTOTCREDDESCANT,  VLTOTCONTNCDEV,  VLRETNC,  "
                                          "VLOUTDEDNC,  VLCONTNCREC,  VLTOTCONTCUMPER,  VLRETCUM,  VLOUTDEDCUM,  "
                                          "VLDIFERIDOCUM,  VLDIFERIRCUM ",
                                          "TOTALEFD"),
                           GetParamsTotalEFD(), false, false, -1);
  TMapTotalM200 m;
  FieldMapper().MapearFields(*ds, m);
  for (; !ds->Eof(); ds->Next()) {
    auto& reg = GetRegM200_600(TTipoApuracao::taEFD);
    reg.FVL_TOT_CRED_DESC_ANT = m.VLTOTCREDDESCANT.AsFloat();
    reg.FVL_RET_NC = m.VLRETNC.AsFloat();
    reg.FVL_OUT_DED_NC = m.VLOUTDEDNC.AsFloat();
    reg.FVL_RET_CUM = m.VLRETCUM.AsFloat();
    reg.FVL_OUT_DED_CUM = m.VLOUTDEDCUM.AsFloat();
    reg.FVL_DIFERIDO_CUM = m.VLDIFERIDOCUM.AsFloat();
    reg.FVL_DIFERIR_CUM = m.VLDIFERIRCUM.AsFloat();
  }
  Nutildb::DestruirSQL(ds);
}

// --- M205/M605 ---

void TnFisEFDGeradorM205_M605Lcto::GerarM205_605(const TRecM205_605& ARec) {
  auto& lista = GetRegM200_600(ARec.TipoApuracao).FM205_605List;
  const std::string chave = ARec.NUM_CAMPO + "|" + ARec.COD_REC;
  if (auto* existente = lista.TryGetValue(chave))
    existente->VL_DEBITO += ARec.VL_DEBITO;
  else
    lista.Add(chave, RecParaObj(ARec));
}

std::unique_ptr<TM205_605ContribRecolher> TnFisEFDGeradorM205_M605Lcto::RecParaObj(const TRecM205_605& ARec) {
  auto reg = std::make_unique<TM205_605ContribRecolher>();
  reg->NUM_CAMPO = ARec.NUM_CAMPO;
  reg->COD_REC = ARec.COD_REC;
  reg->VL_DEBITO = ARec.VL_DEBITO;
  reg->DebitoSCP = ARec.DebitoSCP;
  return reg;
}

TnFisEFDGeradorM205_M605LctoEFD::TnFisEFDGeradorM205_M605LctoEFD(TnFisEFDControleBlocoM& AControle, int16_t AImposto)
    : TnFisEFDGeradorM205_M605Lcto(AControle, AImposto),
      FGeradorCodigoImposto(std::make_unique<TnFisEFDGeradorCodigoImposto>()) {}

TIncidenciaTrib TnFisEFDGeradorM205_M605LctoEFD::GetTipoRegime(const std::string& ANumCampo) {
  return ANumCampo == "08" ? itRegimeNaoCumulativo : itRegimeCumulativo;
}

std::string TnFisEFDGeradorM205_M605LctoEFD::GetCodigoImposto(TIncidenciaTrib AIncidencia, TTipoApuracao ATipo) {
  auto& g = *FGeradorCodigoImposto;
  g.FTipoImposto = FImposto;
  g.FTipoApuracao = GetTipoApuracaoM205_M605(ATipo);
  g.FModoGeracao = GetModoGeracao();
  g.FIncTributaria = AIncidencia;
  const TImposto imp = g.CarregarImposto();
  return Nutil::PreencherEsquerda(std::to_string(imp.CodigoImposto), 4, '0') +
         Nutil::PreencherEsquerda(std::to_string(imp.VariacaoImposto), 2, '0');
}

std::string TnFisEFDGeradorM205_M605LctoEFD::GetCodigoRecolhimento(const TM205_605ContribRecolher& ARegistro,
                                                                   TTipoApuracao ATipo) {
  if (GetConfigBlocoM().ApurTemSldSCPNaOstensiva()) return ARegistro.COD_REC;
  return GetCodigoImposto(GetTipoRegime(ARegistro.NUM_CAMPO), ATipo);
}

void TnFisEFDGeradorM205_M605LctoEFD::CarregarDadosM205_605() {
  const int inc = ControleOpcaoEFD().GetIncTributaria();
  const bool descontarSCP =
      GetModoGeracao() == TModoGeracao::mgEmpresa && GetConfigBlocoM().ApurTemSldSCPNaOstensiva();
  // Cópia das chaves: gerar registros não cria tipos novos, mas a iteração fica estável.
  std::vector<TTipoApuracao> tipos;
  for (const auto& [tipo, m001] : *Controle().FLstRegistroM001) tipos.push_back(tipo);
  for (TTipoApuracao tipo : tipos) {
    auto& reg = GetRegM200_600(tipo);
    auto gerar = [&](const char* campo, TIncidenciaTrib incidencia, double valor) {
      TRecM205_605 rec;
      rec.NUM_CAMPO = campo;
      rec.COD_REC = GetCodigoImposto(incidencia, tipo);
      rec.VL_DEBITO = Nutil::RoundValor(valor, 2);
      rec.TipoApuracao = tipo;
      if (descontarSCP) DescontarValorDebitoSCP(rec);
      if (rec.VL_DEBITO > 0) GerarM205_605(rec);
    };
    if ((inc == 1 || inc == 3) && reg.GetVL_CONT_NC_REC() > 0) gerar("08", itRegimeNaoCumulativo, reg.GetVL_CONT_NC_REC());
    if ((inc == 2 || inc == 3) && reg.GetVL_CONT_CUM_REC() > 0) gerar("12", itRegimeCumulativo, reg.GetVL_CONT_CUM_REC());
  }
}

void TnFisEFDGeradorM205_M605LctoEFD::DescontarValorDebitoSCP(TRecM205_605& ARec) {
  if (ARec.TipoApuracao == TTipoApuracao::taEFD) return;
  for (const auto& scp : Controle().FListaSCP) {
    auto pos = scp->EFD->find(ARec.TipoApuracao);
    if (pos == scp->EFD->end()) continue;
    const auto& regScp = FImposto == 15 ? *pos->second->FM200 : *pos->second->FM600;
    for (const auto& [chave, m205] : regScp.FM205_605List)
      if (m205->NUM_CAMPO == ARec.NUM_CAMPO) ARec.VL_DEBITO = Nutil::RoundValor(ARec.VL_DEBITO - m205->VL_DEBITO, 6);
  }
}

void TnFisEFDGeradorM205_M605LctoEFD::TransferirDebitoSCPParaOstensiva() {
  const bool debitoSCP = GetConfigBlocoM().ApurTemSldSCPNaOstensiva();
  for (const auto& scp : Controle().FListaSCP) {
    for (const auto& [tipo, m001] : *scp->EFD) {
      if (tipo == TTipoApuracao::taEFD) continue;
      const auto& regScp = FImposto == 15 ? *m001->FM200 : *m001->FM600;
      for (const auto& [chave, m205] : regScp.FM205_605List) {
        TRecM205_605 rec;
        rec.NUM_CAMPO = m205->NUM_CAMPO;
        rec.COD_REC = GetCodigoRecolhimento(*m205, tipo);
        rec.VL_DEBITO = m205->VL_DEBITO;
        rec.TipoApuracao = tipo;
        rec.DebitoSCP = debitoSCP;
        GerarM205_605(rec);
      }
    }
  }
}

void TnFisEFDGeradorM205_M605EFD::CarregarDados() {
  auto ds = ExecutarSQLInt(GetSqlTotalEFD(" NUMCAMPO,  CODREC,  VLDEBITO ", "TOTALEFDDEBPAGAR"), GetParamsTotalEFD(),
                           false, false, -1);
  TMapDebitoPag m;
  FieldMapper().MapearFields(*ds, m);
  bool algumaLinha = false;
  for (; !ds->Eof(); ds->Next()) {
    algumaLinha = true;
    auto reg = std::make_unique<TM205_605ContribRecolher>();
    reg->NUM_CAMPO = m.NUMCAMPO.AsString();
    reg->COD_REC = m.CODREC.AsString();
    reg->VL_DEBITO = m.VLDEBITO.AsFloat();
    const std::string chave = reg->NUM_CAMPO + "|" + reg->COD_REC;
    GetRegM200_600(TTipoApuracao::taEFD).FM205_605List.Add(chave, std::move(reg));
  }
  Nutildb::DestruirSQL(ds);
  // Sem débitos já apurados, calcula-os a partir do M200/M600.
  if (!algumaLinha) CarregarDadosM205_605();
}

// --- M210/M610 ---

void TnFisEFDGeradorM210_M610EFD::CriarGeradoresFilhos() {
  CriarFilho<TnFisEFDGeradorM211_M611EFD>();
  CriarFilho<TnFisEFDGeradorM215_M615EFD>();
  CriarFilho<TnFisEFDGeradorM220_M620EFD>();
  auto& op = ControleOpcaoEFD();
  if (op.GetControlaDiferimento() && op.GetIncTributaria() == 2 && op.GetRegimeApuracao() == 2) {
    CriarFilho<TnFisEFDGeradorM230_M630EFD>();
    CriarFilho<TnFisEFDGeradorM300_M700EFD>();
  }
}

void TnFisEFDGeradorM210_M610EFD::CarregarDados() {
  auto ds = ExecutarSQLInt(GetSqlTotalEFD(" SEQ,  TIPODEBITO,  VLRRECBRT,  VLBCCONT,  ALIQ,  QUANTBC ", "TOTALEFDDEBITO"),
                           GetParamsTotalEFD(), false, false, -1);
  TMapDebito m;
  FieldMapper().MapearFields(*ds, m);
  auto& lista = GetRegM200_600(TTipoApuracao::taEFD).FM210_610List;
  for (; !ds->Eof(); ds->Next()) {
    auto reg = std::make_unique<TM210_610DetalheContrib>();
    reg->FCOD_CONT = TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(m.TIPODEBITO.AsString());
    reg->FVL_REC_BRT = m.VLRRECBRT.AsFloat();
    reg->FVL_BC_CONT = m.VLBCCONT.AsFloat();
    reg->FQUANT_BC = m.QUANTBC.AsFloat();
    if (reg->FQUANT_BC > 0) {
      reg->FALIQ_QUANT = m.ALIQ.AsFloat();
      reg->FALIQ = 0;
    } else {
      reg->FALIQ = m.ALIQ.AsFloat();
      reg->FALIQ_QUANT = 0;
    }
    lista.Add(MontarChave(m.SEQ.AsInteger()), std::move(reg));
  }
  Nutildb::DestruirSQL(ds);
}

// --- M211/M611 ---

void TnFisEFDGeradorM211_M611EFD::CarregarDados() {
  struct TRecM211_611 {
    int IND_TIP_COOP;
    double VL_BC_CONT_ANT_EXC_COOP, VL_EXC_COOP_GER, VL_EXC_ESP_COOP;
  };
  auto ds = ExecutarSQLInt(GetSqlTotalEFD(" SEQDEB,  INDTIPCOOP,  VLBCCONTANTEXCCOOP,  VLEXCCOOPGER,  VLEXCESPCOOP ",
                                          "TOTALEFDEXCLUCOOP", " ORDER BY SEQDEB "),
                           GetParamsTotalEFD(), false, false, -1);
  TMapExcluCoop m;
  FieldMapper().MapearFields(*ds, m);
  std::map<int64_t, TRecM211_611> porSeq;
  for (; !ds->Eof(); ds->Next())
    porSeq.try_emplace(m.SEQDEB.AsInteger(),
                       TRecM211_611{static_cast<int>(m.INDTIPCOOP.AsInteger()), m.VLBCCONTANTEXCCOOP.AsFloat(),
                                    m.VLEXCCOOPGER.AsFloat(), m.VLEXCESPCOOP.AsFloat()});
  Nutildb::DestruirSQL(ds);
  const bool cooperativa = GetConfigBlocoM().IndNatPessoaJurid == "1";
  for (const auto& [chave, detalhe] : GetLstM210_610(TTipoApuracao::taEFD)) {
    TRecM211_611 rec;
    auto pos = porSeq.find(EstabComoInteiro(chave, 0));
    if (pos != porSeq.end())
      rec = pos->second;
    else if (cooperativa)
      rec = {99, detalhe->GetVL_BC_CONT(), 0, 0};
    else
      continue;
    if (detalhe->FM211_611) continue;
    auto& m211 = detalhe->CriarM211_611();
    m211.FIND_TIP_COOP = rec.IND_TIP_COOP;
    m211.FVL_BC_CONT_ANT_EXC_COOP = rec.VL_BC_CONT_ANT_EXC_COOP;
    m211.FVL_EXC_COOP_GER = rec.VL_EXC_COOP_GER;
    m211.FVL_EXC_ESP_COOP = rec.VL_EXC_ESP_COOP;
  }
}

// --- M215/M615 ---

void TnFisEFDGeradorM215_M615EFD::CarregarDados() {
  auto ds = ExecutarSQLInt(GetSqlTotalEFD(" INDAJBC,  SEQ,  SEQDEB,  VLAJBC,  CODAJBC,  NUMDOC,  DESCRAJBC,  DTREF,  "
                                          "CODCTA,  CNPJ,  INFOCOMPL ",
                                          "TOTALEFDAJUSTEBC"),
                           GetParamsTotalEFD(), false, false, -1);
  TMapAjusteBC m;
  FieldMapper().MapearFields(*ds, m);
  for (; !ds->Eof(); ds->Next()) {
    auto reg = std::make_unique<TM215_615AjusteBCContribPIS>();
    reg->FIND_AJ_BC = static_cast<int>(m.INDAJBC.AsInteger());
    reg->FVL_AJ_BC = m.VLAJBC.AsFloat();
    reg->FCOD_AJ_BC = TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(m.CODAJBC.AsString());
    reg->FNUM_DOC = m.NUMDOC.AsString();
    reg->FDESCR_AJ_BC = m.DESCRAJBC.AsString();
    reg->FDT_REF = DataTotalEFD(m.DTREF);
    reg->FCOD_CTA = m.CODCTA.AsString();
    reg->FCNPJ = m.CNPJ.AsString();
    reg->FINFO_COMPL = m.INFOCOMPL.AsString();
    DetalheEFD(*this, m.SEQDEB).FM215_615List.Add(MontarChave(m.SEQ.AsInteger()), std::move(reg));
  }
  Nutildb::DestruirSQL(ds);
}

// --- M220/M620 e M225/M625 ---

void TnFisEFDGeradorM220_M620EFD::CriarGeradoresFilhos() { CriarFilho<TnFisEFDGeradorM225_M625EFD>(); }

void TnFisEFDGeradorM220_M620EFD::CarregarDados() {
  auto ds = ExecutarSQLInt(GetSqlTotalEFD(kCamposAjusteEFD, "TOTALEFDAJUSTE", " AND TIPOAJUSTE = 1"), GetParamsTotalEFD(),
                           false, false, -1);
  auto& lista = GetLstM210_610(TTipoApuracao::taEFD);
  CarregarAjustesEFD(std::move(ds), [&](int64_t seq) -> TM110_510_220_620AjusteCredImpList& {
    return lista.Items(MontarChave(seq)).FM220_620List;
  });
}

void TnFisEFDGeradorM225_M625EFD::CarregarDados() {
  auto ds = ExecutarSQLInt(GetSqlTotalEFDAjusteDet(GetModoGeracao() != TModoGeracao::mgEmpresa, 1), GetParamsTotalEFD(),
                           false, false, -1);
  auto& lista = GetLstM210_610(TTipoApuracao::taEFD);
  CarregarDetalhesAjusteEFD(*this, std::move(ds), [&](int64_t seq) -> TM110_510_220_620AjusteCredImpList& {
    return lista.Items(MontarChave(seq)).FM220_620List;
  });
}

// --- M230/M630 ---

void TnFisEFDGeradorM230_M630EFD::CarregarDados() {
  auto ds = ExecutarSQLInt(GetSqlTotalEFD(" SEQ,  SEQDEB,  TIPOCREDITO,  CNPJ,  VLVEND,  VLNAORECEB,  VLCONTDIF,  VLCREDDIF ",
                                          "TOTALEFDINFADICDIFERIDO"),
                           GetParamsTotalEFD(), false, false, -1);
  TMapInfAdicDiferido m;
  FieldMapper().MapearFields(*ds, m);
  for (; !ds->Eof(); ds->Next()) {
    auto reg = std::make_unique<TM230_630InfAdicDiferido>();
    reg->FCNPJ = m.CNPJ.AsString();
    reg->FVL_VEND = m.VLVEND.AsFloat();
    reg->FVL_NAO_RECEB = m.VLNAORECEB.AsFloat();
    reg->FVL_CONT_DIF = m.VLCONTDIF.AsFloat();
    reg->FVL_CRED_DIF = m.VLCREDDIF.AsFloat();
    reg->FCOD_CRED = TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(m.TIPOCREDITO.AsString());
    DetalheEFD(*this, m.SEQDEB).FM230_630List.Add(MontarChave(m.SEQ.AsInteger()), std::move(reg));
  }
  Nutildb::DestruirSQL(ds);
}

// --- M300/M700 ---

void TnFisEFDGeradorM300_M700EFD::CarregarDados() {
  auto ds = ExecutarSQLInt(GetSqlTotalEFD(" SEQ,  SEQDEB,  TIPODEBITO,  NATCREDDESC,  PERAPUR,  DTRECEB,  VLCONTAPURDIFER,  "
                                          "VLCREDDESCDIFER ",
                                          "TOTALEFDDIFERIDOPERANT"),
                           GetParamsTotalEFD(), false, false, -1);
  TMapDiferidoPerAnt m;
  FieldMapper().MapearFields(*ds, m);
  for (; !ds->Eof(); ds->Next()) {
    auto reg = std::make_unique<TM300_700DiferidoPerAnt>();
    reg->FCOD_CONT = TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(m.TIPODEBITO.AsString());
    reg->FVL_CONT_APUR_DIFER = m.VLCONTAPURDIFER.AsFloat();
    reg->FNAT_CRED_DESC = TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(m.NATCREDDESC.AsString());
    reg->FVL_CRED_DESC_DIFER = m.VLCREDDESCDIFER.AsFloat();
    // PERAPUR é texto "mmaaaa" no esquema: o período de origem, não uma data.
    reg->FPER_APUR = m.PERAPUR.AsString();
    reg->FDT_RECEB = m.DTRECEB.IsNull() ? 0 : m.DTRECEB.AsDateTime();
    DetalheEFD(*this, m.SEQDEB).FM300_700List.Add(MontarChave(m.SEQ.AsInteger()), std::move(reg));
  }
  Nutildb::DestruirSQL(ds);
}
