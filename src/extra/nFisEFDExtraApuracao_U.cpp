#include "extra/nFisEFDExtraApuracao_U.h"

#include <cmath>
#include <cstdio>

#include "base/Nutil.h"
#include "host/DataSet.h"
#include "host/FieldMapper.h"
#include "host/Nutildb.h"
#include "host/Nutilinclusao.h"
#include "host/OpcaoEFD.h"
#include "host/ProporcaoCreditos.h"

namespace {

struct TMapAJuste : TRowMap {
  PISCO_CAMPO(CODIGOEMPRESA);
  PISCO_CAMPO(CODIGOESTAB);
  PISCO_CAMPO(SEQ);
  PISCO_CAMPO(INDAJUSTE);
  PISCO_CAMPO(INDAPROPRIACAOAJUSTE);
  PISCO_CAMPO(VALORAJUSTE);
  PISCO_CAMPO(CODIGOAJUSTE);
  PISCO_CAMPO(NUMPROCREF);
  PISCO_CAMPO(DESCRAJUSTE);
  PISCO_CAMPO(DATALCTOFIS);
  PISCO_CAMPO(CONTACTB);
  PISCO_CAMPO(INSCRFEDERAL);
};

using Nutil::Aparar;

int32_t Inteiro(const TFieldRef& f) { return f.IsNull() ? 0 : static_cast<int32_t>(f.AsInteger()); }
double Real(TField& f) { return f.IsNull() ? 0 : f.AsFloat(); }
std::string Texto(const TFieldRef& f) { return f.IsNull() ? std::string() : f.AsString(); }

}  // namespace

void TnFisEFDExtraApuracao::ExecutarExtraApuracao() {
  GerarProporcaoReceitaCST();
  GerarDetalhamentoAjusteBC();
}

// ------------------------------------------------------------------ ajustes da base

std::string TnFisEFDExtraApuracao::GetFiltroEstab(const std::string& APrefixo) const {
  return FilterInterval({APrefixo + "CODIGOESTAB"}, Aparar(FCodigoEstab), {tiExInclusao}, true, kFiltroNumero);
}

std::string TnFisEFDExtraApuracao::GetSQLAjuste() const {
  return " SELECT  CON.CODIGOEMPRESA,  CON.CODIGOESTAB,  CON.SEQ,  CON.DATALCTOFIS,  CON.INDAJUSTE,"
         "  CON.CODIGOAJUSTE,  CON.VALORAJUSTE,  CON.INDAPROPRIACAOAJUSTE,  CON.NUMPROCREF,  CON.DESCRAJUSTE,"
         "  CON.CONTACTB,  E.INSCRFEDERAL"
         " FROM EFDAJUSTEBASECALCCONTRIBAPUR CON"
         " JOIN ESTAB E ON E.CODIGOESTAB = CON.CODIGOESTAB AND E.CODIGOEMPRESA = CON.CODIGOEMPRESA"
         " WHERE CON.CODIGOEMPRESA = :CODIGOEMPRESA " +
         GetFiltroEstab("CON.") + " AND CON.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL ";
}

void TnFisEFDExtraApuracao::GerarDetalhamentoAjusteBC() {
  auto ds = Nutildb::ExecutarSQL(GetSQLAjuste(),
                                 {TVariant(int64_t{FCodigoEmpresa}), VarDate(FDataInicial), VarDate(FDataFinal)}, true,
                                 false, -1, "", nullptr, true);
  TMapAJuste m;
  FieldMapper().MapearFields(*ds, m);
  TRecAjuste rec;
  for (; !ds->Eof(); ds->Next()) {
    rec.CodigoEmpresa = Inteiro(m.CODIGOEMPRESA);
    rec.CodigoEstab = Inteiro(m.CODIGOESTAB);
    rec.Sequencia = Inteiro(m.SEQ);
    rec.Data = m.DATALCTOFIS.IsNull() ? 0 : DateOf(m.DATALCTOFIS.AsDateTime());
    rec.IndicadorAjuste = Inteiro(m.INDAJUSTE);
    rec.CodigoAjuste = Texto(m.CODIGOAJUSTE);
    rec.IndicadorApropriacao = static_cast<TIndicadorApropriacao>(Inteiro(m.INDAPROPRIACAOAJUSTE));
    rec.CNPJ = Texto(m.INSCRFEDERAL);
    rec.ValorAjuste = Real(m.VALORAJUSTE.Field());
    rec.NumeroDocumento = Texto(m.NUMPROCREF);
    rec.DescricaoAjuste = Texto(m.DESCRAJUSTE);
    rec.ContaContabil = Inteiro(m.CONTACTB);
    GerarAjusteBC(rec);
  }
  Nutildb::DestruirSQL(ds);
}

void TnFisEFDExtraApuracao::GerarAjusteBC(const TRecAjuste& ARec) {
  TAjusteBC& ajuste = GetAjusteBC(ARec);
  GerarAjusteBCPorCST(ajuste);
  GerarAjusteBCPorAliq(ajuste);
}

std::string TnFisEFDExtraApuracao::GetChaveAjuste(const TRecAjuste& ARec) {
  return std::to_string(ARec.CodigoEmpresa) + "|" + std::to_string(ARec.CodigoEstab) + "|" +
         std::to_string(ARec.Sequencia) + "|" + FormatDateTime("ddmmyyyy", ARec.Data) + "|" +
         std::to_string(ARec.IndicadorAjuste) + "|" + ARec.CodigoAjuste + "|" +
         std::to_string(static_cast<int>(ARec.IndicadorApropriacao)) + "|" + ARec.NumeroDocumento + "|" +
         ARec.DescricaoAjuste + "|" + std::to_string(ARec.ContaContabil);
}

TAjusteBC& TnFisEFDExtraApuracao::GetAjusteBC(const TRecAjuste& ARec) {
  const std::string chave = GetChaveAjuste(ARec);
  if (auto* existente = FLstAjusteBC.Procurar(chave)) return **existente;
  return **FLstAjusteBC.Incluir(chave, RecParaObj(ARec));
}

std::unique_ptr<TAjusteBC> TnFisEFDExtraApuracao::RecParaObj(const TRecAjuste& ARec) {
  auto a = std::make_unique<TAjusteBC>();
  a->FCodigoEmpresa = ARec.CodigoEmpresa;
  a->FCodigoEstab = ARec.CodigoEstab;
  a->FSequencia = ARec.Sequencia;
  a->FData = ARec.Data;
  a->FIndicadorAjuste = ARec.IndicadorAjuste;
  a->FCodigoAjuste = ARec.CodigoAjuste;
  a->FIndicadorApropriacao = ARec.IndicadorApropriacao;
  a->FCNPJ = ARec.CNPJ;
  a->FNumRec = ARec.NumRec;
  a->FInfoComplementar = ARec.InfoComplementar;
  a->FValorAjuste = ARec.ValorAjuste;
  a->FNumeroDocumento = ARec.NumeroDocumento;
  a->FDescricaoAjuste = ARec.DescricaoAjuste;
  a->FContaContabil = ARec.ContaContabil;
  return a;
}

TAjusteBCDet& TnFisEFDExtraApuracao::GetAjusteBCDet(TAjusteBC& AAjuste, const std::string& AChave) {
  if (auto* d = AAjuste.FLstAjusteBCDet.Procurar(AChave)) return **d;
  return **AAjuste.FLstAjusteBCDet.Incluir(AChave, std::make_unique<TAjusteBCDet>());
}

TAjusteBCDetAliq& TnFisEFDExtraApuracao::GetAjusteBCDetAliq(TAjusteBC& AAjuste, const std::string& AChave) {
  if (auto* d = AAjuste.FLstAjusteBCDetAliq.Procurar(AChave)) return **d;
  return **AAjuste.FLstAjusteBCDetAliq.Incluir(AChave, std::make_unique<TAjusteBCDetAliq>());
}

void TnFisEFDExtraApuracao::GerarAjusteBCPorCST(TAjusteBC& AAjuste) {
  for (const auto& [chave, e] : FLstExcBCPisCofins) {
    TAjusteBCDet& d = GetAjusteBCDet(AAjuste, e->FTipoDebito + "|" + std::to_string(e->FCST));
    d.FTipoDebito = e->FTipoDebito;
    d.FCST = e->FCST;
    d.FValorAjusteCST +=
        Nutil::RoundValor(Nutil::Dividir(AAjuste.FValorAjuste * VarToFloat(e->FPercentualCST), 100), 2);
  }
}

void TnFisEFDExtraApuracao::GerarAjusteBCPorAliq(TAjusteBC& AAjuste) {
  for (const auto& [chave, e] : FLstBCPisCofinsAliq) {
    TAjusteBCDetAliq& d = GetAjusteBCDetAliq(
        AAjuste, std::to_string(e->FTipoImposto) + "|" + e->FTipoDebito + "|" + TextoAliquota(e->FAliq));
    d.FTipoDebito = e->FTipoDebito;
    d.FTipoImposto = e->FTipoImposto;
    d.FAliq = e->FAliq;
    // Receita total zero com entradas por alíquota (todas de valor 0): a parte fica em 0.
    d.FValorAjuste = Nutil::RoundValor(Nutil::Dividir(e->FReceita * AAjuste.FValorAjuste, e->FReceitaTotal), 2);
  }
}

// ------------------------------------------------------------------ receita por CST e alíquota

std::string TnFisEFDExtraApuracao::TextoAliquota(double AAliquota) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15g", AAliquota);
  return buf;
}

TExcBCPisCofins& TnFisEFDExtraApuracao::GetExcBCPisCofins(const std::string& AChave) {
  if (auto* e = FLstExcBCPisCofins.Procurar(AChave)) return **e;
  return **FLstExcBCPisCofins.Incluir(AChave, std::make_unique<TExcBCPisCofins>());
}

TExcBCPisCofinsAliq& TnFisEFDExtraApuracao::GetExcBCPisCofinsAliq(const std::string& AChave) {
  if (auto* e = FLstBCPisCofinsAliq.Procurar(AChave)) return **e;
  return **FLstBCPisCofinsAliq.Incluir(AChave, std::make_unique<TExcBCPisCofinsAliq>());
}

void TnFisEFDExtraApuracao::InserirBCPisCofins(TDataSet& ADataSet) {
  TField& cst = ADataSet.FieldByName("CDSITUATRIBUT");
  TField& tipo = ADataSet.FieldByName("TIPODEBITO");
  const int32_t c = cst.IsNull() ? 0 : static_cast<int32_t>(cst.AsInteger());
  const std::string t = tipo.IsNull() ? std::string() : tipo.AsString();
  TExcBCPisCofins& e = GetExcBCPisCofins(std::to_string(c) + "|" + t);
  e.FCST = c;
  e.FTipoDebito = t;
  e.FValorCST += Real(ADataSet.FieldByName("RECEITAPISCOFINS"));
}

void TnFisEFDExtraApuracao::InserirBCPisCofinsAliq(TDataSet& ADataSet, uint8_t AImposto) {
  TField& aliq = ADataSet.FieldByName(AImposto == 15 ? "ALIQPIS" : "ALIQCOFINS");
  TField& tipo = ADataSet.FieldByName("TIPODEBITO");
  const double a = Real(aliq);
  const std::string t = tipo.IsNull() ? std::string() : tipo.AsString();
  // O texto da alíquota vem do número: o PostgreSQL devolve 1.650000 e o SQLite 1.65.
  TExcBCPisCofinsAliq& e = GetExcBCPisCofinsAliq(std::to_string(AImposto) + "|" + t + "|" + TextoAliquota(a));
  e.FTipoImposto = AImposto;
  e.FTipoDebito = t;
  e.FAliq = a;
  e.FReceita += Real(ADataSet.FieldByName("RECEITAPISCOFINS"));
}

void TnFisEFDExtraApuracao::GerarProporcaoReceitaCST() {
  if (FModoGeracao == TModoGeracao::mgSCP && FCodigoEstabExtraApuracao == "1") return;
  ControleOpcaoEFD().Configurar(FCodigoEmpresa, EstabComoInteiro(FCodigoEstab), FDataInicial);
  // Empresa sem opção da EFD em vigor: os padrões das opções (só documentos fiscais, só CSTs
  // tributados).
  const bool temOpcao = ControleOpcaoEFD().LinhaEmVigor().has_value();
  const int receitaEnq = temOpcao ? ControleOpcaoEFD().GetReceitaEnqExclusaoBC() : 0;
  const int incidencia = temOpcao ? ControleOpcaoEFD().GetIncidenciaCST() : 0;
  std::unique_ptr<TDataSet> ds;
  TnFisPropCreditoRepositorio::CarregarProporcaoReceita(
      ds, {TVariant(int64_t{FCodigoEmpresa}), VarDate(FDataInicial), VarDate(FDataFinal)}, FCodigoEstabExtraApuracao,
      receitaEnq, incidencia);
  FLstExcBCPisCofins.Limpar();
  FLstBCPisCofinsAliq.Limpar();
  double total = 0;
  for (; !ds->Eof(); ds->Next()) {
    InserirBCPisCofins(*ds);
    InserirBCPisCofinsAliq(*ds, 15);
    InserirBCPisCofinsAliq(*ds, 16);
    total += Real(ds->FieldByName("RECEITAPISCOFINS"));
  }
  for (auto& [chave, e] : FLstExcBCPisCofins)
    e->FPercentualCST = Nutil::RoundValor(Nutil::Dividir(e->FValorCST, total) * 100, 13);
  for (auto& [chave, e] : FLstBCPisCofinsAliq) e->FReceitaTotal = total;
  Nutildb::DestruirSQL(ds);
}
