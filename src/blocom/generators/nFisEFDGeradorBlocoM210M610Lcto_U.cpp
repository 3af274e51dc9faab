#include "blocom/generators/nFisEFDGeradorBlocoM210M610Lcto_U.h"

#include <cmath>
#include <map>
#include <vector>

#include "base/Decimal.h"
#include "blocom/generators/nFisEFDGeradorBlocoM215M300Lcto_U.h"
#include "blocom/generators/nFisEFDGeradorTotalCST_U.h"
#include "host/FisFuncoes.h"
#include "host/Nutildb.h"
#include "host/OpcaoEFD.h"

namespace {
// Saídas dos lançamentos com as colunas que o M210 usa além das da soma por CST.
struct TMapLcto : TRowMap {
  PISCO_CAMPO(CODIGOESTAB);
  PISCO_CAMPO(TIPOIMPOSTO);
  PISCO_CAMPO(TIPODEBITO);
  PISCO_CAMPO(ALIQ);
  PISCO_CAMPO(RECEITAPISCOFINS);
  PISCO_CAMPO(BASECALCULOPISCOFINS);
  PISCO_CAMPO(DACONTIPORECEITA);
  PISCO_CAMPO(QUANTIDADE);
  PISCO_CAMPO(CST);
  PISCO_CAMPO(TEMQTD);
};

struct TMapExcluCoopLcto : TRowMap {
  PISCO_CAMPO(TIPOAPURACAO);
  PISCO_CAMPO(TIPODEBITO);
  PISCO_CAMPO(INDTIPCOOP);
  PISCO_CAMPO(VLEXCCOOPGER);
  PISCO_CAMPO(VLEXCESPCOOP);
};

// Valores e alíquotas das saídas em unidades de 1/10000, como o caixa fixo de quatro casas.
int64_t Q4(double v) { return std::llround(v * 10000.0); }
double DeQ4(int64_t q) { return static_cast<double>(q) / 10000.0; }

bool TabelaDebito(const std::string& ATipo, bool AInclui4312) {
  const std::string t = TnFisFuncoes::GetTabelaSPEDTipoDebitoTipoCredito(ATipo);
  return t == "4.3.05" || (AInclui4312 && t == "4.3.12");
}
}  // namespace

std::string ChaveM210_610(const std::string& ACodCont, double AAliq, double AAliqQuant) {
  return ACodCont + "|" + Decimal::TextoChave(AAliq) + "|" + Decimal::TextoChave(AAliqQuant);
}

// --- M210/M610 ---

TnFisEFDGeradorM210_M610Lcto::TnFisEFDGeradorM210_M610Lcto(TnFisEFDControleBlocoM& AControle, int16_t AImposto)
    : TnFisEFDGeradorM210_M610(AControle, AImposto), FGerarTotalEFD(std::make_unique<TnFisEFDGeradorTotalCST>()) {}

TnFisEFDGeradorM210_M610Lcto::~TnFisEFDGeradorM210_M610Lcto() = default;

void TnFisEFDGeradorM210_M610Lcto::ConfTotaisEFD() {
  auto& t = *FGerarTotalEFD;
  t.FCodigoEmpresa = GetCodigoEmpresa();
  t.FCodigoEstab = GetCodigoEstab();
  t.FDataInicial = GetDataInicial();
  t.FDataFinal = GetDataFinal();
  t.FProcessarCredito = false;
  t.FProcessarDebito = true;
  t.FReceitas = {rTributadas};
  t.FRegimeCaixa = GetRegimeCaixa();
  t.FModoApuracao = true;
}

void TnFisEFDGeradorM210_M610Lcto::CarregarDados() {
  if (!FGerarTotalEFD) FGerarTotalEFD = std::make_unique<TnFisEFDGeradorTotalCST>();
  ConfTotaisEFD();
  FGerarTotalEFD->GerarTotais();
  CarregarDadosTributario();
  CarregarDadosImob();
  CarregarDadosDemaisDoc();
  if (GetModoGeracao() == TModoGeracao::mgSCP) CarregarDadosSCP();
  // Os totais ocupam memória proporcional às saídas do período: liberados assim que lidos.
  FGerarTotalEFD.reset();
}

void TnFisEFDGeradorM210_M610Lcto::CarregarDadosTributario() {
  auto& lcto = *FGerarTotalEFD->FcurSaidaLcto;
  auto& exclu = *FGerarTotalEFD->FcurSaidaExclu;
  const bool porEstab = !GetCodigoEstab().empty();
  exclu.SetIndexFieldNames(porEstab ? "CodigoEstab;TipoImposto;CST;ALIQ" : "TipoImposto;CST;ALIQ");
  auto& m = FieldMapper().MapearFields<TMapLcto>(lcto);
  for (lcto.First(); !lcto.Eof(); lcto.Next()) {
    if (m.TIPOIMPOSTO.AsInteger() != FImposto) continue;
    const std::string tipo = m.TIPODEBITO.AsString();
    if (!TabelaDebito(tipo, true)) continue;
    TRecM210_610 rec;
    rec.COD_CONT = TnFisFuncoes::GetCodigoTipoDebitoConversao(tipo);
    rec.VL_REC_BRT = m.RECEITAPISCOFINS.AsFloat();
    rec.TipoApuracao = static_cast<TTipoApuracao>(GetTipoApuracao(static_cast<int>(m.DACONTIPORECEITA.AsInteger())));
    int64_t exclusao = 0;
    // A exclusão da base só vale para a receita não cumulativa de código 51; cada linha de
    // exclusão é usada uma vez (apagada ao ser achada).
    if (rec.TipoApuracao == TTipoApuracao::taNormal && rec.COD_CONT == "51") {
      const TVariant estab = m.CODIGOESTAB.AsInteger(), imposto = m.TIPOIMPOSTO.AsInteger(), cst = m.CST.AsInteger(), aliq = m.ALIQ.AsFloat();
      const TParams chave = porEstab ? TParams{estab, imposto, cst, aliq} : TParams{imposto, cst, aliq};
      if (exclu.FindKey(chave)) {
        auto& valor = exclu.FieldByName("VALOR");
        exclusao = valor.IsNull() ? 0 : Q4(valor.AsFloat());
        exclu.Delete();
      }
    }
    if (m.TEMQTD.AsInteger() == 1) {
      rec.QUANT_BC = DeQ4(Q4(m.QUANTIDADE.AsFloat()) - exclusao);
      rec.ALIQ_QUANT = DeQ4(Q4(m.ALIQ.AsFloat()));
    } else {
      rec.VL_BC_CONT = DeQ4(Q4(m.BASECALCULOPISCOFINS.AsFloat()) - exclusao);
      rec.ALIQ = DeQ4(Q4(m.ALIQ.AsFloat()));
    }
    GerarM210_610(rec);
  }
}

void TnFisEFDGeradorM210_M610Lcto::CarregarDadosImob() {
  auto& ds = *FGerarTotalEFD->FcurSaidaImob;
  auto& m = FieldMapper().MapearFields<TMapSaiImob>(ds);
  for (ds.First(); !ds.Eof(); ds.Next()) {
    const std::string tipo = m.TIPODEBITO.AsString();
    if (m.TIPOIMPOSTO.AsInteger() != FImposto || !TabelaDebito(tipo, false)) continue;
    TRecM210_610 rec;
    rec.COD_CONT = TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(tipo);
    rec.VL_REC_BRT = m.VLTOTREC.AsFloat();
    rec.VL_BC_CONT = m.VLBASECALC.AsFloat();
    rec.ALIQ = m.ALIQ.AsFloat();
    GerarM210_610(rec);
  }
}

void TnFisEFDGeradorM210_M610Lcto::CarregarDadosDemaisDoc() {
  auto& ds = *FGerarTotalEFD->FcurSaidaDemaisDoc;
  auto& m = FieldMapper().MapearFields<TMapSaiDemaisDoc>(ds);
  auto& compCred = ds.FieldByName("COMPENSACRED");
  auto& compRet = ds.FieldByName("COMPENSARETENCAO");
  for (ds.First(); !ds.Eof(); ds.Next()) {
    const std::string tipo = m.TIPODEBITO.AsString();
    if (m.TIPOIMPOSTO.AsInteger() != FImposto || !TabelaDebito(tipo, true)) continue;
    TRecM210_610 rec;
    rec.COD_CONT = TnFisFuncoes::GetCodigoTipoDebitoConversao(tipo);
    rec.VL_REC_BRT = m.VALOROPER.AsFloat();
    rec.VL_BC_CONT = m.BASECALCULO.AsFloat();
    rec.ALIQ = m.ALIQ.AsFloat();
    // "0": a base não pode ser compensada com créditos (ou com retenções).
    rec.VlBcNCompCred = compCred.AsString() == "0" ? rec.VL_BC_CONT : 0;
    rec.VlBcNCompRet = compRet.AsString() == "0" ? rec.VL_BC_CONT : 0;
    GerarM210_610(rec);
  }
}

void TnFisEFDGeradorM210_M610Lcto::CarregarDadosSCP() {
  // A SCP transfere o débito à ostensiva: cada código tributado ganha o detalhe 71 (01 a 04) ou
  // 72 (51 a 54), de alíquota 0, que recebe o acréscimo do ajuste "05" no M220.
  for (const auto& [tipo, m001] : *Controle().FLstRegistroM001) {
    std::vector<TRecM210_610> novos;
    for (const auto& [chave, det] : GetRegM200_600(tipo).FM210_610List) {
      const std::string& c = det->FCOD_CONT;
      TRecM210_610 rec;
      rec.TipoApuracao = tipo;
      if (c == "01" || c == "02" || c == "03" || c == "04")
        rec.COD_CONT = "71";
      else if (c == "51" || c == "52" || c == "53" || c == "54")
        rec.COD_CONT = "72";
      else
        continue;
      novos.push_back(rec);
    }
    for (const auto& rec : novos) GerarM210_610(rec);
  }
}

void TnFisEFDGeradorM210_M610Lcto::GerarM210_610(const TRecM210_610& ARec, bool) {
  auto& lista = GetRegM200_600(ARec.TipoApuracao).FM210_610List;
  const std::string chave = ChaveM210_610(ARec.COD_CONT, ARec.ALIQ, ARec.ALIQ_QUANT);
  if (auto* d = lista.TryGetValue(chave)) {
    d->FVL_REC_BRT += ARec.VL_REC_BRT;
    d->FVL_BC_CONT = d->GetVL_BC_CONT() + ARec.VL_BC_CONT;
    d->FQUANT_BC += ARec.QUANT_BC;
    d->FVlBctNCompCred += ARec.VlBcNCompCred;
    d->FVlBctNCompRet += ARec.VlBcNCompRet;
  } else {
    lista.Add(chave, RecParaObj(ARec));
  }
}

std::unique_ptr<TM210_610DetalheContrib> TnFisEFDGeradorM210_M610Lcto::RecParaObj(const TRecM210_610& ARec) {
  auto d = std::make_unique<TM210_610DetalheContrib>();
  d->FCOD_CONT = ARec.COD_CONT;
  d->FVL_REC_BRT = ARec.VL_REC_BRT;
  d->FVL_BC_CONT = ARec.VL_BC_CONT;
  d->FALIQ = ARec.ALIQ;
  d->FQUANT_BC = ARec.QUANT_BC;
  d->FALIQ_QUANT = ARec.ALIQ_QUANT;
  d->FVlBctNCompCred = ARec.VlBcNCompCred;
  d->FVlBctNCompRet = ARec.VlBcNCompRet;
  return d;
}

void TnFisEFDGeradorM210_M610LctoDacon::CriarGeradoresFilhos() {
  CriarFilho<TnFisEFDGeradorM211_M611LctoDacon>();
  CriarFilho<TnFisEFDGeradorM220_M620LctoDacon>();
}

void TnFisEFDGeradorM210_M610LctoEFD::CriarGeradoresFilhos() {
  CriarFilho<TnFisEFDGeradorM211_M611LctoEFD>();
  CriarFilho<TnFisEFDGeradorM215_M615LctoEFD>();
  CriarFilho<TnFisEFDGeradorM220_M620LctoEFD>();
  auto& op = ControleOpcaoEFD();
  if (op.GetControlaDiferimento() && op.GetIncTributaria() == 2 && op.GetRegimeApuracao() == 2) {
    CriarFilho<TnFisEFDGeradorM230_M630LctoEFD>();
    CriarFilho<TnFisEFDGeradorM300_M700LctoEFD>();
  }
}

// --- M211/M611 ---

void TnFisEFDGeradorM211_M611Lcto::CarregarDados() {
  auto ds = ExecutarSQLInt(
      " SELECT E.TIPOAPURACAO,  E.TIPODEBITO,  E.INDTIPCOOP,  E.VLEXCCOOPGER,  E.VLEXCESPCOOP  FROM EFDEXCLUCOOP E  "
      "WHERE E.CODIGOEMPRESA = :CODIGOEMPRESA " +
          GetFilterEstab("E.") + " AND E.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL " + " AND E.IMPOSTO = " +
          std::to_string(FImposto) + " ORDER BY " + " E.TIPOAPURACAO, " + " E.TIPODEBITO ",
      GetFiltroEmpresaPeriodo(), false, false, -1);
  auto& m = FieldMapper().MapearFields<TMapExcluCoopLcto>(*ds);
  // Primeira linha de cada tipo de apuração e tipo de débito, como a busca no conjunto ordenado.
  // As outras não entram: o usuário é avisado, senão a exclusão some sem explicação.
  std::map<std::string, TRecM211_611> linhas;
  for (; !ds->Eof(); ds->Next())
    if (!linhas.try_emplace(std::to_string(m.TIPOAPURACAO.AsInteger()) + "|" + m.TIPODEBITO.AsString(),
                            TRecM211_611{static_cast<int>(m.INDTIPCOOP.AsInteger()), 0, m.VLEXCCOOPGER.AsFloat(),
                                         m.VLEXCESPCOOP.AsFloat()})
             .second)
      Avisar(OndePeriodo() +
             ": há mais de uma linha de exclusão de cooperativa de " + GetTipoImposto() + " para o tipo de apuração " +
             std::to_string(m.TIPOAPURACAO.AsInteger()) + " e o tipo de débito " + m.TIPODEBITO.AsString() +
             "; só uma entra no " + GetNomeRegistro() + ". Junte as exclusões do mês num só lançamento.");
  Nutildb::DestruirSQL(ds);
  const bool cooperativa = GetConfigBlocoM().IndNatPessoaJurid == "1";
  for (const auto& [tipo, m001] : *Controle().FLstRegistroM001) {
    for (const auto& [chave, det] : GetLstM210_610(tipo)) {
      auto pos = linhas.find(std::to_string(static_cast<int>(tipo)) + "|4.3.05." + det->FCOD_CONT);
      TRecM211_611 rec;
      if (pos != linhas.end()) {
        rec = pos->second;
        rec.VL_BC_CONT_ANT_EXC_COOP = det->GetVL_BC_CONT();
      } else if (cooperativa) {
        rec = {99, det->GetVL_BC_CONT(), 0, 0};
      } else {
        continue;
      }
      GerarM211_611(*det, rec);
    }
  }
}

void TnFisEFDGeradorM211_M611Lcto::GerarM211_611(TM210_610DetalheContrib& ADetalhe, const TRecM211_611& ARec) {
  if (!ADetalhe.FM211_611) {
    auto& m = ADetalhe.CriarM211_611();
    m.FIND_TIP_COOP = ARec.IND_TIP_COOP;
    m.FVL_BC_CONT_ANT_EXC_COOP = ARec.VL_BC_CONT_ANT_EXC_COOP;
    m.FVL_EXC_COOP_GER = ARec.VL_EXC_COOP_GER;
    m.FVL_EXC_ESP_COOP = ARec.VL_EXC_ESP_COOP;
    return;
  }
  auto& m = *ADetalhe.FM211_611;
  m.FVL_BC_CONT_ANT_EXC_COOP += ARec.VL_BC_CONT_ANT_EXC_COOP;
  m.FVL_EXC_COOP_GER += ARec.VL_EXC_COOP_GER;
  m.FVL_EXC_ESP_COOP += ARec.VL_EXC_ESP_COOP;
}
