#include "credits/nFisEFDControleCredito_U.h"

#include <algorithm>
#include <cstdlib>
#include <fmt/format.h>

#include "blocom/model/nFisRepositorioEFDModel_U.h"
#include "host/ClientDataSet.h"
#include "host/ControlesFiscais.h"
#include "host/DMSQLDataSet.h"
#include "base/Decimal.h"
#include "host/FieldMapper.h"
#include "host/FisFuncoes.h"
#include "base/Format.h"
#include "base/Nutil.h"
#include "host/Nutildb.h"
#include "host/Nutilinclusao.h"
#include "host/OpcaoEFD.h"

namespace {

// Colunas comuns às consultas de saldo de crédito; a data vem com nome próprio em cada uma.
#define PISCO_CAMPOS_SALDO_CRED      \
  PISCO_CAMPO(IMPOSTO);              \
  PISCO_CAMPO(TIPOAPURACAO);         \
  PISCO_CAMPO(PERAPUCRED);           \
  PISCO_CAMPO(ORIGCRED);             \
  PISCO_CAMPO(CNPJSUC);              \
  PISCO_CAMPO(CODCRED);              \
  PISCO_CAMPO(ALIQIMPOSTO);          \
  PISCO_CAMPO(VLCREDAPU);            \
  PISCO_CAMPO(VLCREDEXTAPU);         \
  PISCO_CAMPO(VLCREDDESCPAANT);      \
  PISCO_CAMPO(VLCREDPERPAANT);       \
  PISCO_CAMPO(VLCREDDCOMPPAANT);     \
  PISCO_CAMPO(VLCREDDESCEFD);        \
  PISCO_CAMPO(VLCREDPEREFD);         \
  PISCO_CAMPO(VLCREDDCOMPEFD);       \
  PISCO_CAMPO(VLCREDTRANS);          \
  PISCO_CAMPO(VLCREDOUT)

// Saldo do período anterior (tabela de controle): data em DATATOTAL.
struct TMapSaldoCredCtrl : TRowMap {
  PISCO_CAMPOS_SALDO_CRED;
  PISCO_CAMPO(DATATOTAL);
};
// Saldo inicial e compensação declarada: data em DATALCTOFIS (a consulta não traz DATATOTAL).
struct TMapSaldoIni : TRowMap {
  PISCO_CAMPOS_SALDO_CRED;
  PISCO_CAMPO(DATALCTOFIS);
};
struct TMapSaldoComp : TMapSaldoIni {};

struct TMapSaldoRetCtrl : TRowMap {
  PISCO_CAMPO(IMPOSTO);
  PISCO_CAMPO(DATATOTAL);
  PISCO_CAMPO(INDNATRET);
  PISCO_CAMPO(PRRECRET);
  PISCO_CAMPO(TIPODEBITO);
  PISCO_CAMPO(VLRETAPU);
  PISCO_CAMPO(VLRETDED);
  PISCO_CAMPO(VLRETPER);
  PISCO_CAMPO(VLRETDCOMP);
};

struct TMapPercentAliqPer : TRowMap {
  PISCO_CAMPO(PERCENTUAL);
};

struct TMapOrdem : TRowMap {
  PISCO_CAMPO(CODIGOTABSPED);
  PISCO_CAMPO(PERCENTCOMP);
  PISCO_CAMPO(CODTABSPEDCOMPCREDPERCENT);
};

struct TMapOrdemCompAliq : TRowMap {
  PISCO_CAMPO(CODTABSPEDCOMPCREDPERCENT);
  PISCO_CAMPO(IMPOSTO);
  PISCO_CAMPO(ALIQIMPOSTO);
  PISCO_CAMPO(ORDEM);
};

struct TMapEvento : TRowMap {
  PISCO_CAMPO(DATALCTOFIS);
  PISCO_CAMPO(PERAPUCRED);
  PISCO_CAMPO(CODIGOTABSPED);
  PISCO_CAMPO(INSCRFEDERAL);
  PISCO_CAMPO(TIPOAPURACAO);
  PISCO_CAMPO(VALORCREDTRANSFPIS);
  PISCO_CAMPO(VALORCREDTRANSFCOFINS);
};

struct TMapPagamento : TRowMap {
  PISCO_CAMPO(TIPOIMPOSTO);
  PISCO_CAMPO(TIPORETENCAO);
  PISCO_CAMPO(DATAPAGAMENTO);
  PISCO_CAMPO(TIPODEBITO);
  PISCO_CAMPO(VALORPAGO);
  PISCO_CAMPO(QTDPISCOFINS);
  PISCO_CAMPO(BASECALCULOPISCOFINS);
  PISCO_CAMPO(BASECALCULOPISCOFINSTOTAL);
};

// Fecha o dataset ao sair do escopo, também em erro.
struct TFechar {
  std::unique_ptr<TDataSet>& d;
  ~TFechar() { Nutildb::DestruirSQL(d); }
};

using Nutil::Aparar;

int64_t Inteiro(const TFieldRef& f) { return f.IsNull() ? 0 : f.AsInteger(); }
TDateTime Data(const TFieldRef& f) { return f.IsNull() ? 0 : f.AsDateTime(); }
double R2(double v) { return Nutil::RoundValor(v, 2); }

template <class TMapa>
void CopiarComuns(const TMapa& m, TDadosCredito& c) {
  c.IMPOSTO = static_cast<int32_t>(Inteiro(m.IMPOSTO));
  c.TIPOAPURACAO = static_cast<int32_t>(Inteiro(m.TIPOAPURACAO));
  c.PERAPUCRED = Data(m.PERAPUCRED);
  c.ORIGCRED = static_cast<int16_t>(Inteiro(m.ORIGCRED));
  c.CNPJSUC = m.CNPJSUC.AsString();
  c.CODCRED = m.CODCRED.AsString();
  c.ALIQIMPOSTO = m.ALIQIMPOSTO.AsFloat();
  c.VLCREDAPU = m.VLCREDAPU.AsFloat();
  c.VLCREDEXTAPU = m.VLCREDEXTAPU.AsFloat();
  c.VLCREDTRANS = m.VLCREDTRANS.AsFloat();
  c.VLCREDOUT = m.VLCREDOUT.AsFloat();
}

// Saldo trazido: tudo o que a origem já usou conta como usado em períodos anteriores.
template <class TMapa>
void UsadoComoAnterior(const TMapa& m, TDadosCredito& c) {
  c.VLCREDDESCPAANT = m.VLCREDDESCPAANT.AsFloat() + m.VLCREDDESCEFD.AsFloat();
  c.VLCREDPERPAANT = m.VLCREDPERPAANT.AsFloat() + m.VLCREDPEREFD.AsFloat();
  c.VLCREDDCOMPPAANT = m.VLCREDDCOMPPAANT.AsFloat() + m.VLCREDDCOMPEFD.AsFloat();
  c.VLCREDDESCEFD = 0;
  c.VLCREDPEREFD = 0;
  c.VLCREDDCOMPEFD = 0;
}

TDadosCredito MapParaRecord(const TMapSaldoIni& m) {
  TDadosCredito c;
  CopiarComuns(m, c);
  c.DATATOTAL = Data(m.DATALCTOFIS);
  UsadoComoAnterior(m, c);
  return c;
}

TDadosCredito MapParaRecord(const TMapSaldoComp& m) {
  TDadosCredito c;
  CopiarComuns(m, c);
  c.DATATOTAL = Data(m.DATALCTOFIS);
  c.VLCREDDESCPAANT = m.VLCREDDESCPAANT.AsFloat();
  c.VLCREDPERPAANT = m.VLCREDPERPAANT.AsFloat();
  c.VLCREDDCOMPPAANT = m.VLCREDDCOMPPAANT.AsFloat();
  c.VLCREDDESCEFD = m.VLCREDDESCEFD.AsFloat();
  c.VLCREDPEREFD = m.VLCREDPEREFD.AsFloat();
  c.VLCREDDCOMPEFD = m.VLCREDDCOMPEFD.AsFloat();
  return c;
}

TDadosRetido MapParaRecord(const TMapSaldoRetCtrl& m) {
  TDadosRetido r;
  r.IMPOSTO = static_cast<int16_t>(Inteiro(m.IMPOSTO));
  r.DATATOTAL = Data(m.DATATOTAL);
  r.INDNATRET = static_cast<int16_t>(Inteiro(m.INDNATRET));
  r.PRRECRET = Data(m.PRRECRET);
  r.TIPODEBITO = m.TIPODEBITO.AsString();
  r.VLRETAPU = m.VLRETAPU.AsFloat();
  r.VLRETDED = m.VLRETDED.AsFloat();
  r.VLRETPER = m.VLRETPER.AsFloat();
  r.VLRETDCOMP = m.VLRETDCOMP.AsFloat();
  return r;
}

const char* const kColunasSaldoCred =
    " VLCREDAPU,  VLCREDEXTAPU,  VLCREDDESCPAANT,  VLCREDPERPAANT,  VLCREDDCOMPPAANT,  VLCREDDESCEFD, "
    " VLCREDPEREFD,  VLCREDDCOMPEFD,  VLCREDTRANS,  VLCREDOUT ";

const std::vector<std::string> kLstTipoDebitoNaoCum{"4.3.05.01", "4.3.05.02", "4.3.05.03", "4.3.05.04"};
const std::vector<std::string> kLstTipoDebitoCum{"4.3.05.51", "4.3.05.52", "4.3.05.53", "4.3.05.54"};

bool Contem(const std::vector<std::string>& l, const std::string& s) {
  return std::find(l.begin(), l.end(), s) != l.end();
}

}  // namespace

TnFisEFDControleCredito::TnFisEFDControleCredito()
    : FCreditosApurados(std::make_unique<TnFisEFDCreditosApurados>()),
      FCreditosApuradosRet(std::make_unique<TnFisEFDCreditosApuradosRet>()) {}

TnFisEFDControleCredito::~TnFisEFDControleCredito() {
  if (curPercentAliqPer) curPercentAliqPer->Close();
}

void TnFisEFDControleCredito::SetConfigBlocoM(const TConfigBlocoM& AConfig) {
  FConfigBlocoM = AConfig;
  FCodigoEmpresa = AConfig.CodigoEmpresa;
  FCodigoEstab = AConfig.CodigoEstab;
  FDataInicial = AConfig.DataInicial;
  FDataFinal = AConfig.DataFinal;
  FModoGeracao = AConfig.ModoGeracao;
}

// ------------------------------------------------------------------ chaves e inserção

std::string TnFisEFDControleCredito::GetChave(const TCamposCredito& c) {
  const std::string periodo = FormatDateTime("yyyymmdd", c.PERAPUCRED);
  return std::to_string(c.IMPOSTO) + "|" + std::to_string(c.TIPOAPURACAO) + "|" + periodo + "|" + periodo + "|" +
         std::to_string(c.ORIGCRED) + "|" + c.CNPJSUC + "|" + c.CODCRED + "|" + Decimal::TextoCurto(c.ALIQIMPOSTO);
}

std::string TnFisEFDControleCredito::GetChave(const TDadosRetido& r) {
  return std::to_string(r.IMPOSTO) + "|" + FormatDateTime("yyyymmdd", r.PRRECRET) + "|" +
         std::to_string(r.INDNATRET) + "|" + r.TIPODEBITO;
}

std::string TnFisEFDControleCredito::ChaveOrdemAliq(int32_t AOrdem, int32_t AImposto, double AAliquota) {
  return std::to_string(AOrdem) + "|" + std::to_string(AImposto) + "|" +
         fmt::format("{:.4f}", Nutil::RoundValor(AAliquota, 4));
}

void TnFisEFDControleCredito::InserirCredito(const TDadosCredito& ACredito) {
  const std::string chave = GetChave(ACredito);
  auto* item = LstCredito.Procurar(chave);
  if (!item) {
    TCamposCredito cab;
    cab.IMPOSTO = ACredito.IMPOSTO;
    cab.TIPOAPURACAO = ACredito.TIPOAPURACAO;
    cab.DATATOTAL = ACredito.DATATOTAL;
    cab.PERAPUCRED = ACredito.PERAPUCRED;
    cab.ORIGCRED = ACredito.ORIGCRED;
    cab.CNPJSUC = ACredito.CNPJSUC;
    cab.CODCRED = ACredito.CODCRED;
    cab.ALIQIMPOSTO = ACredito.ALIQIMPOSTO;
    item = LstCredito.Incluir(chave, std::make_unique<TDadosCreditoObj>(cab));
  }
  TDadosCreditoObj& obj = **item;
  if (ACredito.RegM100_500 &&
      std::find(obj.LstRegM100_500.begin(), obj.LstRegM100_500.end(), ACredito.RegM100_500) ==
          obj.LstRegM100_500.end())
    obj.LstRegM100_500.push_back(ACredito.RegM100_500);
  obj.SomarValores(ACredito);
}

void TnFisEFDControleCredito::InserirCredRetido(const TDadosRetido& ARetido) {
  const std::string chave = GetChave(ARetido);
  TDadosRetido* linha = LstCredRetido.Procurar(chave);
  if (!linha) {
    TDadosRetido novo;
    novo.IMPOSTO = ARetido.IMPOSTO;
    novo.DATATOTAL = ARetido.DATATOTAL;
    novo.INDNATRET = ARetido.INDNATRET;
    novo.PRRECRET = ARetido.PRRECRET;
    novo.TIPODEBITO = ARetido.TIPODEBITO;
    linha = LstCredRetido.Incluir(chave, std::move(novo));
  }
  linha->SomarValores(ARetido);
}

void TnFisEFDControleCredito::LimparDadosCredito(TDadosCredito& ACredito) { ACredito = TDadosCredito{}; }

void TnFisEFDControleCredito::LimparDadosCredRetido(TDadosRetido& ARetido) { ARetido = TDadosRetido{}; }

TDadosCreditoObj* TnFisEFDControleCredito::ProcurarCredito(const std::string& AChave) {
  auto* item = LstCredito.Procurar(AChave);
  return item ? item->get() : nullptr;
}

TListaCreditoObj TnFisEFDControleCredito::CarregarCreditosApurados() {
  FCreditosApurados->FConfigBlocoM = FConfigBlocoM;
  return FCreditosApurados->Carregar(tiTodos, true);
}

TListaRetido TnFisEFDControleCredito::CarregarRetidosApurados() {
  FCreditosApuradosRet->FConfigBlocoM = FConfigBlocoM;
  return FCreditosApuradosRet->Carregar(tiTodos);
}

// ------------------------------------------------------------------ apoio às consultas

std::string TnFisEFDControleCredito::GetFilterEstab(const std::string& APrefixo, bool ASempre) const {
  if (FModoGeracao == TModoGeracao::mgEmpresa && !ASempre) return "";
  return FilterInterval({APrefixo + "CODIGOESTAB"}, Aparar(FCodigoEstab), {tiExInclusao}, true, kFiltroNumero);
}

std::unique_ptr<TDataSet> TnFisEFDControleCredito::ExecutarSQLInt(const std::string& ASQL, const TParams& AValores,
                                                                  bool ACliente) {
  auto ds = Nutildb::ExecutarSQL(ASQL, AValores, ACliente);
  if (FConfigBlocoM.DoIncProgresso) ds->DoIncProgresso = FConfigBlocoM.DoIncProgresso;
  return ds;
}

TDateTime TnFisEFDControleCredito::DataAnterior() const { return PegarDataApuracaoAnterior(FDataInicial); }

bool TnFisEFDControleCredito::ApuracaoAntTemSaldoSCPNaOstensiva() const {
  return CompararDias(IncMonth(FDataInicial, -1), FConfigBlocoM.GetUltimoPeriodoApuradoComSldSCPNaOstensiva()) <= 0;
}

bool TnFisEFDControleCredito::GuardaSCP() const {
  return FModoGeracao == TModoGeracao::mgSCP && ApuracaoAntTemSaldoSCPNaOstensiva();
}

std::string TnFisEFDControleCredito::GetSqlSaldoCompensacao() const {
  return Format(std::string(" SELECT  IMPOSTO,  TIPOAPURACAO,  DATALCTOFIS,  PERAPUCRED,  ORIGCRED,  CNPJSUC, "
                            " CODCRED,  ALIQIMPOSTO, ") +
                    kColunasSaldoCred +
                    " FROM EFDSALDOCOMPCREDINICIAL  WHERE CODIGOEMPRESA = :pCodigoEmpresa  %0:s "
                    " AND DATALCTOFIS = :pDataLctoFis  AND TIPOCREDSPED = :pTipoCred ",
                {GetFilterEstab("", true)});
}

// ------------------------------------------------------------------ créditos

void TnFisEFDControleCredito::CarregarCreditosPeriodo() {
  LstCredito.Limpar();
  FListaOrdenada.clear();
  FRegistrosVazios.clear();
  PrepararTabelaOrdem();
  PrepararTabelaOrdemAliq();
  PrepararTabelaPercentAliqPer();
  CarregarCreditoSaldoInicial();
  CarregarCreditoDispPeriodoAnterior();
  CarregarCreditoCompensacao();
  CarregarCreditoEventoFusaoCisao();
}

void TnFisEFDControleCredito::CarregarCreditoSaldoInicial() {
  auto ds = ExecutarSQLInt(GetSqlSaldoCompensacao(),
                           {TVariant(int64_t{FCodigoEmpresa}), VarDate(DataAnterior()), TVariant(int64_t{0})});
  TFechar fechar{ds};
  TMapSaldoIni m;
  FieldMapper().MapearFields(*ds, m);
  for (; !ds->Eof(); ds->Next()) InserirCredito(MapParaRecord(m));
}

void TnFisEFDControleCredito::CarregarCreditoDispPeriodoAnterior() {
  if (GuardaSCP()) return;
  const bool empresa = FModoGeracao == TModoGeracao::mgEmpresa;
  // "Existe linha do mesmo crédito com saldo final" por janela sobre o grupo, não por EXISTS
  // correlacionado: no SQLite este varreria o total inteiro para cada linha (custo quadrático).
  const std::string sql = Format(
      std::string(" SELECT  T.IMPOSTO,  T.TIPOAPURACAO,  T.DATATOTAL,  T.PERAPUCRED,  T.ORIGCRED,  T.CNPJSUC, "
                  " T.CODCRED,  T.ALIQIMPOSTO,  T.VLCREDAPU,  T.VLCREDEXTAPU,  T.VLCREDDESCPAANT, "
                  " T.VLCREDPERPAANT,  T.VLCREDDCOMPPAANT,  T.VLCREDDESCEFD,  T.VLCREDPEREFD, "
                  " T.VLCREDDCOMPEFD,  T.VLCREDTRANS,  T.VLCREDOUT "
                  " FROM (SELECT S.SEQ, S.IMPOSTO, S.TIPOAPURACAO, S.DATATOTAL, S.PERAPUCRED, S.ORIGCRED, "
                  "   S.CNPJSUC, S.CODCRED, S.ALIQIMPOSTO, S.VLCREDAPU, S.VLCREDEXTAPU, S.VLCREDDESCPAANT, "
                  "   S.VLCREDPERPAANT, S.VLCREDDCOMPPAANT, S.VLCREDDESCEFD, S.VLCREDPEREFD, S.VLCREDDCOMPEFD, "
                  "   S.VLCREDTRANS, S.VLCREDOUT, "
                  "   MAX(CASE WHEN S.SLDCREDFIM <> 0 THEN 1 ELSE 0 END) OVER (PARTITION BY %2:s S.PERAPUCRED, "
                  "   S.CODCRED, S.IMPOSTO, COALESCE(S.ORIGCRED, -1), COALESCE(S.CNPJSUC, 'NULL')) TEMSALDO "
                  "   FROM %0:s S "
                  "   WHERE S.CODIGOEMPRESA = :pCodigoEmpresa  %1:s "
                  "   AND S.DATATOTAL = :pDataTotal) T "
                  " WHERE T.TEMSALDO = 1 "
                  " ORDER BY T.IMPOSTO, T.PERAPUCRED, T.CODCRED, T.SEQ "),
      {std::string(empresa ? "EFDSALDOCOMPCRED" : "EFDSALDOCOMPCREDESTAB"), GetFilterEstab("S.", false),
       std::string(empresa ? "" : "S.CODIGOESTAB, ")});
  auto ds = ExecutarSQLInt(sql, {TVariant(int64_t{FCodigoEmpresa}), VarDate(DataAnterior())});
  TFechar fechar{ds};
  TMapSaldoCredCtrl m;
  FieldMapper().MapearFields(*ds, m);
  for (; !ds->Eof(); ds->Next()) {
    TDadosCredito c;
    CopiarComuns(m, c);
    c.DATATOTAL = Data(m.DATATOTAL);
    UsadoComoAnterior(m, c);
    // Registro vazio: a linha trazida aparece ligada a um M100/M500, mas sem base não recebe desconto.
    FRegistrosVazios.push_back(std::make_unique<TM100_500CreditoImposto>());
    c.RegM100_500 = FRegistrosVazios.back().get();
    InserirCredito(c);
  }
}

void TnFisEFDControleCredito::CarregarCreditoCompensacao() {
  auto ds = ExecutarSQLInt(GetSqlSaldoCompensacao(),
                           {TVariant(int64_t{FCodigoEmpresa}), VarDate(FDataInicial), TVariant(int64_t{1})});
  TFechar fechar{ds};
  TMapSaldoComp m;
  FieldMapper().MapearFields(*ds, m);
  for (; !ds->Eof(); ds->Next()) InserirCredito(MapParaRecord(m));
}

void TnFisEFDControleCredito::CarregarCreditoEventoFusaoCisao() {
  const std::string sql = Format(
      " SELECT  C.DATALCTOFIS,  C.PERAPUCRED,  C.CODIGOTABSPED,  C.INSCRFEDERAL,  C.TIPOAPURACAO, "
      " C.VALORCREDTRANSFPIS,  C.VALORCREDTRANSFCOFINS  FROM EFDCREDITOEVENTOINCFUSCIS C "
      " WHERE C.CODIGOEMPRESA = :CODIGOEMPRESA  %0:s  AND C.DATALCTOFIS = :DATALCTOFIS ",
      {GetFilterEstab("", true)});
  auto ds = ExecutarSQLInt(sql, {TVariant(int64_t{FCodigoEmpresa}), VarDate(FDataInicial)});
  TFechar fechar{ds};
  TMapEvento m;
  FieldMapper().MapearFields(*ds, m);
  TDadosCredito c;
  for (; !ds->Eof(); ds->Next()) {
    c.DATATOTAL = Data(m.DATALCTOFIS);
    c.PERAPUCRED = Data(m.PERAPUCRED);
    c.ORIGCRED = 0;
    c.TIPOAPURACAO = static_cast<int32_t>(Inteiro(m.TIPOAPURACAO));
    c.CNPJSUC = m.INSCRFEDERAL.AsString();
    c.CODCRED = m.CODIGOTABSPED.AsString();
    if (m.VALORCREDTRANSFPIS.AsFloat() > 0) {
      c.IMPOSTO = tiPIS;
      c.VLCREDAPU = m.VALORCREDTRANSFPIS.AsFloat();
      InserirCredito(c);
    }
    if (m.VALORCREDTRANSFCOFINS.AsFloat() > 0) {
      c.IMPOSTO = tiCOFINS;
      c.VLCREDAPU = m.VALORCREDTRANSFCOFINS.AsFloat();
      InserirCredito(c);
    }
    LimparDadosCredito(c);
  }
}

// ------------------------------------------------------------------ retidos

void TnFisEFDControleCredito::CarregarRetidosPeriodo() {
  LstCredRetido.Limpar();
  FListaOrdenadaRetido.clear();
  CarregarCreditoRetidoSaldoInicial();
  CarregarCreditoRetidoDispPeriodoAnterior();
  CarregarCreditoRetidoPagamento();
  CompensarRestituirCreditoRetido();
}

void TnFisEFDControleCredito::CarregarRetidos(const std::string& ASQL, const TParams& AValores) {
  auto ds = ExecutarSQLInt(ASQL, AValores);
  TFechar fechar{ds};
  TMapSaldoRetCtrl m;
  FieldMapper().MapearFields(*ds, m);
  for (; !ds->Eof(); ds->Next()) InserirCredRetido(MapParaRecord(m));
}

void TnFisEFDControleCredito::CarregarCreditoRetidoSaldoInicial() {
  CarregarRetidos(Format(" SELECT  IMPOSTO,  DATALCTOFIS DATATOTAL,  INDNATRET,  PRRECRET,  TIPODEBITO,  VLRETAPU, "
                         " VLRETDED,  VLRETPER,  VLRETDCOMP,  SLDRET  FROM EFDSALDORETIDOINICIAL "
                         " WHERE CODIGOEMPRESA = :CODIGOEMPRESA  %s  AND DATALCTOFIS = :DATALCTOFIS "
                         " AND SLDRET > 0  ORDER BY  IMPOSTO,  INDNATRET,  PRRECRET,  TIPODEBITO ",
                         {GetFilterEstab("", true)}),
                  {TVariant(int64_t{FCodigoEmpresa}), VarDate(DataAnterior())});
}

void TnFisEFDControleCredito::CarregarCreditoRetidoDispPeriodoAnterior() {
  if (GuardaSCP()) return;
  const bool empresa = FModoGeracao == TModoGeracao::mgEmpresa;
  CarregarRetidos(Format(" SELECT  IMPOSTO,  DATATOTAL,  INDNATRET,  PRRECRET,  TIPODEBITO,  VLRETAPU, "
                         " VLRETDED,  VLRETPER,  VLRETDCOMP,  SLDRET  FROM %0:s "
                         " WHERE CODIGOEMPRESA = :CODIGOEMPRESA  %1:s  AND DATATOTAL = :DATATOTAL "
                         " AND SLDRET > 0  ORDER BY  IMPOSTO,  INDNATRET,  PRRECRET,  TIPODEBITO ",
                         {std::string(empresa ? "EFDSALDORETIDO" : "EFDSALDORETIDOESTAB"), GetFilterEstab("", false)}),
                  {TVariant(int64_t{FCodigoEmpresa}), VarDate(DataAnterior())});
}

void TnFisEFDControleCredito::CarregarCreditoRetidoPagamento() {
  const std::string tipos = Nutil::ValorParaSQL(int64_t{24}) + "," + Nutil::ValorParaSQL(int64_t{25});
  const std::string sql = Format(
      " SELECT  P.TIPOIMPOSTO,  R.TIPORETENCAO,  P.DATAPAGAMENTO,  LP.TIPODEBITO,  P.VALOR VALORPAGO, "
      " LP.BASECALCULOPISCOFINS, "
      " (SELECT COUNT(*) FROM LCTOFISSAIPISCOFINS Q "
      "   WHERE Q.CODIGOEMPRESA = L.CODIGOEMPRESA AND Q.CHAVELCTOFISSAI = L.CHAVELCTOFISSAI) QTDPISCOFINS, "
      " (SELECT CAST(SUM(Q.BASECALCULOPISCOFINS) AS NUMERIC(14,2)) FROM LCTOFISSAIPISCOFINS Q "
      "   WHERE Q.CODIGOEMPRESA = L.CODIGOEMPRESA AND Q.CHAVELCTOFISSAI = L.CHAVELCTOFISSAI) "
      "   BASECALCULOPISCOFINSTOTAL "
      " FROM LCTOFISSAIRETIDO R "
      " JOIN LCTOFISSAIRETIDOPAGAMENTO P ON P.CODIGOEMPRESA = R.CODIGOEMPRESA "
      "  AND P.CHAVELCTOFISSAI = R.CHAVELCTOFISSAI "
      " JOIN LCTOFISSAI L ON L.CODIGOEMPRESA = R.CODIGOEMPRESA AND L.CHAVELCTOFISSAI = R.CHAVELCTOFISSAI "
      " JOIN LCTOFISSAIPISCOFINS LP ON LP.CODIGOEMPRESA = L.CODIGOEMPRESA "
      "  AND LP.CHAVELCTOFISSAI = L.CHAVELCTOFISSAI "
      " WHERE R.CODIGOEMPRESA = :CODIGOEMPRESA  %0:s "
      " AND P.DATAPAGAMENTO BETWEEN :DATAINICIAL AND :DATAFINAL "
      " AND P.TIPOIMPOSTO IN (%1:s) "
      " ORDER BY P.TIPOIMPOSTO, R.CHAVELCTOFISSAI, P.SEQ, LP.CODIGOPRODUTO, LP.SEQ ",
      {GetFilterEstab("R.", true), tipos});
  auto ds = ExecutarSQLInt(sql, {TVariant(int64_t{FCodigoEmpresa}), VarDate(FDataInicial), VarDate(FDataFinal)});
  TFechar fechar{ds};
  TMapPagamento m;
  FieldMapper().MapearFields(*ds, m);
  for (; !ds->Eof(); ds->Next()) {
    TDadosRetido r;
    r.IMPOSTO = Inteiro(m.TIPOIMPOSTO) == 24 ? tiPIS : tiCOFINS;
    r.DATATOTAL = FDataInicial;
    r.INDNATRET = static_cast<int16_t>(Inteiro(m.TIPORETENCAO));
    r.PRRECRET = Data(m.DATAPAGAMENTO);
    r.TIPODEBITO = m.TIPODEBITO.AsString();
    // Documento com várias linhas: o pago se reparte pela base de cada uma.
    r.VLRETAPU = Inteiro(m.QTDPISCOFINS) < 2
                     ? m.VALORPAGO.AsFloat()
                     : Nutil::Dividir(m.VALORPAGO.AsFloat(), m.BASECALCULOPISCOFINSTOTAL.AsFloat()) *
                           m.BASECALCULOPISCOFINS.AsFloat();
    InserirCredRetido(r);
  }
}

void TnFisEFDControleCredito::CompensarRestituirCreditoRetido() {
  if (GuardaSCP()) return;
  const std::string sql = Format(
      " SELECT DATALCTOFIS,  SEQ,  IMPOSTO,  INDNATRET,  DATARETENCAO,  TIPODEBITO,  VLRETUTILREST,  VLRETUTILCOMP "
      " FROM EFDSALDORETIDOCOMP  WHERE CODIGOEMPRESA = :CODIGOEMPRESA  %s  AND DATALCTOFIS = :DATALCTOFIS "
      " ORDER BY IMPOSTO, INDNATRET, DATARETENCAO, TIPODEBITO",
      {FilterInterval({"CODIGOESTAB"}, Aparar(FCodigoEstab), {tiExInclusao}, true, kFiltroNumero)});
  auto ds = ExecutarSQLInt(sql, {TVariant(int64_t{FCodigoEmpresa}), VarDate(FDataInicial)});
  TFechar fechar{ds};
  FListaMsgCredRetido.clear();
  TField& seq = ds->FieldByName("SEQ");
  TField& imposto = ds->FieldByName("IMPOSTO");
  TField& natureza = ds->FieldByName("INDNATRET");
  TField& retencao = ds->FieldByName("DATARETENCAO");
  TField& tipoDebito = ds->FieldByName("TIPODEBITO");
  TField& rest = ds->FieldByName("VLRETUTILREST");
  TField& comp = ds->FieldByName("VLRETUTILCOMP");
  for (; !ds->Eof(); ds->Next()) {
    TDadosRetido chave;
    chave.IMPOSTO = static_cast<int16_t>(imposto.AsInteger());
    chave.PRRECRET = retencao.IsNull() ? 0 : retencao.AsDateTime();
    chave.INDNATRET = static_cast<int16_t>(natureza.IsNull() ? 0 : natureza.AsInteger());
    chave.TIPODEBITO = tipoDebito.AsString();
    if (TDadosRetido* linha = LstCredRetido.Procurar(GetChave(chave))) {
      linha->VLRETPER += rest.IsNull() ? 0 : rest.AsFloat();
      linha->VLRETDCOMP += comp.IsNull() ? 0 : comp.AsFloat();
    } else {
      FListaMsgCredRetido.push_back(seq.AsString());
    }
  }
}

// ------------------------------------------------------------------ tabelas de configuração

void TnFisEFDControleCredito::PrepararTabelaOrdem() {
  FTabelaOrdem.Limpar();
  auto ds = ExecutarSQLInt(
      "select CODIGOTABSPED, PERCENTCOMP, CODTABSPEDCOMPCREDPERCENT from EFDORDEMCOMPCREDPERCENT "
      "where CODTABSPEDCOMPCRED = :pCODTABSPEDCOMPCRED ",
      {TVariant(int64_t{ControleOpcaoEFD().GetCodTabCompCred()})});
  TFechar fechar{ds};
  TMapOrdem m;
  FieldMapper().MapearFields(*ds, m);
  for (; !ds->Eof(); ds->Next()) {
    TDadosOrdemComp o{m.CODIGOTABSPED.AsString(), m.PERCENTCOMP.AsFloat(),
                      static_cast<int32_t>(Inteiro(m.CODTABSPEDCOMPCREDPERCENT))};
    if (!FTabelaOrdem.Incluir(o.CodigoCredito, o)) throw EChaveDuplicada("Chave duplicada: " + o.CodigoCredito);
  }
}

namespace {
std::string SqlOrdemAliq(const std::string& AModelo) {
  return Format(AModelo, {TVariant(int64_t{15}), std::string("PIS")}) + " union all " +
         Format(AModelo, {TVariant(int64_t{16}), std::string("COFINS")});
}
}  // namespace

void TnFisEFDControleCredito::PrepararTabelaOrdemAliq() {
  const std::string sql = SqlOrdemAliq(
      "select A.CODTABSPEDCOMPCREDPERCENT, cast(%0:d as integer) IMPOSTO, A.ALIQ%1:s ALIQIMPOSTO, A.ORDEM "
      "from EFDORDEMCOMPCREDALIQ A where A.CODTABSPEDCOMPCRED = :pCodTabSpedCompCred ");
  auto ds = ExecutarSQLInt(sql, {TVariant(int64_t{ControleOpcaoEFD().GetCodTabCompCred()})}, true);
  TFechar fechar{ds};
  auto& cds = dynamic_cast<TnClientDataSet&>(*ds);
  cds.SetIndexFieldNames("CODTABSPEDCOMPCREDPERCENT;IMPOSTO;ALIQIMPOSTO;ORDEM");
  cds.First();
  FTabelaOrdemAliq.Limpar();
  TMapOrdemCompAliq m;
  FieldMapper().MapearFields(*ds, m);
  for (; !ds->Eof(); ds->Next()) {
    const std::string chave = ChaveOrdemAliq(static_cast<int32_t>(Inteiro(m.CODTABSPEDCOMPCREDPERCENT)),
                                             static_cast<int32_t>(Inteiro(m.IMPOSTO)), m.ALIQIMPOSTO.AsFloat());
    if (!FTabelaOrdemAliq.Incluir(chave, static_cast<int32_t>(Inteiro(m.ORDEM))))
      throw EChaveDuplicada("Chave duplicada: " + chave);
  }
}

void TnFisEFDControleCredito::PrepararTabelaPercentAliqPer() {
  const TParams parametros{TVariant(int64_t{ControleOpcaoEFD().GetCodTabCompCred()})};
  if (!curPercentAliqPer) {
    const std::string sql = SqlOrdemAliq(
        "select A.CODTABSPEDCOMPCREDPERCENT, cast(%0:d as integer) IMPOSTO, A.ALIQ%1:s ALIQIMPOSTO, "
        "P.DATAINICIAL, P.DATAFINAL, P.PERCENTUAL from EFDORDEMCOMPCREDALIQ A join EFDORDEMCOMPCREDALIQPER P "
        "on P.CODTABSPEDCOMPCRED = A.CODTABSPEDCOMPCRED and P.CODTABSPEDCOMPCREDPERCENT = "
        "A.CODTABSPEDCOMPCREDPERCENT and P.ORDEM = A.ORDEM where A.CODTABSPEDCOMPCRED = :pCodTabSpedCompCred");
    curPercentAliqPer = ExecutarSQLInt(sql, parametros, true);
  } else {
    Nutildb::RefreshSQL(*curPercentAliqPer, parametros);
  }
  dynamic_cast<TnClientDataSet&>(*curPercentAliqPer).SetIndexFieldNames("CODTABSPEDCOMPCREDPERCENT;IMPOSTO;ALIQIMPOSTO");
}

// ------------------------------------------------------------------ ordem e disponibilidade

int32_t TnFisEFDControleCredito::GetOrdemCred(const std::string& ACodigo) const {
  const TDadosOrdemComp* o = FTabelaOrdem.Procurar(ACodigo);
  return o ? o->Ordem : 99;
}

int32_t TnFisEFDControleCredito::GetOrdemCredAliq(const TCamposCredito& c) const {
  const int32_t* o = FTabelaOrdemAliq.Procurar(ChaveOrdemAliq(GetOrdemCred(c.CODCRED), c.IMPOSTO, c.ALIQIMPOSTO));
  return o ? *o : 0;
}

double TnFisEFDControleCredito::GetPercentualCred(const TCamposCredito& c) const {
  const TDadosOrdemComp* o = FTabelaOrdem.Procurar(c.CODCRED);
  return o ? o->Percentual : 0;
}

bool TnFisEFDControleCredito::TemPercentualCredAliq(const TCamposCredito& c, double& APercentual) {
  APercentual = 0;
  if (!curPercentAliqPer) return false;
  auto& cds = dynamic_cast<TnClientDataSet&>(*curPercentAliqPer);
  if (cds.RecordCount() == 0 && !cds.Filtered()) return false;  // tabela sem linhas: nenhum filtro passa
  cds.SetFilter(" CODTABSPEDCOMPCREDPERCENT = " + Nutil::ValorParaFiltro(int64_t{GetOrdemCred(c.CODCRED)}) +
                " and IMPOSTO = " + Nutil::ValorParaFiltro(int64_t{c.IMPOSTO}) +
                " and ALIQIMPOSTO = " + Nutil::ValorParaFiltro(c.ALIQIMPOSTO) +
                " and DATAINICIAL <= " + Nutil::ValorParaFiltro(VarDate(DateOf(c.PERAPUCRED))) +
                " and DATAFINAL >= " + Nutil::ValorParaFiltro(VarDate(DateOf(c.PERAPUCRED))));
  cds.SetFiltered(true);
  cds.First();
  const bool achou = !cds.IsEmpty();
  if (achou) {
    TMapPercentAliqPer m;
    FieldMapper().MapearFields(cds, m);
    APercentual = m.PERCENTUAL.AsFloat();
  }
  cds.SetFiltered(false);
  cds.SetFilter("");
  return achou;
}

TFormaCompensacao TnFisEFDControleCredito::FormaCompensacao() {
  const TVariant v = TnDMSQLDataSet::PegarValorCampo(
      "EFDORDEMCOMPCRED", "FORMACOMPENSACAO",
      "CODTABSPEDCOMPCRED = " + Nutil::ValorParaSQL(int64_t{ControleOpcaoEFD().GetCodTabCompCred()}));
  const int64_t forma = VarIsNull(v) ? -1 : VarToInt(v);
  return forma == 0 ? fcUnificado : fcSeparado;
}

bool TnFisEFDControleCredito::PodeUtilizarCreditoAgro(const TDadosCreditoObj& c) {
  if (ControleOpcaoEFD().GetIndCredAgro()) return true;
  const std::string codigo = TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(c.CODCRED);
  char* fim = nullptr;
  long numero = std::strtol(codigo.c_str(), &fim, 10);
  if (codigo.empty() || *fim != '\0') numero = 0;
  const bool agro = numero == 106 || numero == 206 || numero == 306;
  return !(agro && CompararDias(c.PERAPUCRED, FDataInicial) < 0);
}

bool TnFisEFDControleCredito::PossuiOrdenacaoConfigurada(const TDadosCreditoObj& c) const {
  return FTabelaOrdem.Contem(c.CODCRED);
}

bool TnFisEFDControleCredito::PodeUtilizarCreditoAliq(const TDadosCreditoObj& c) {
  double pct = 0;
  if (!TemPercentualCredAliq(c, pct)) return true;
  return R2(c.VLCREDAPU * pct / 100) > R2(c.VLCREDDESCPAANT);
}

bool TnFisEFDControleCredito::PodeUtilizarCredito(bool AIncluirTodos, const TDadosCreditoObj& c) {
  if (AIncluirTodos) return true;
  return PodeUtilizarCreditoAgro(c) && PossuiOrdenacaoConfigurada(c) && PodeUtilizarCreditoAliq(c);
}

double TnFisEFDControleCredito::CalcularCreditoDisponivel(const TDadosCreditoObj& c) {
  double pct = 0;
  if (TemPercentualCredAliq(c, pct))
    return R2(c.VLTOTCREDAPU() * (pct / 100)) - c.VLCREDDESCPAANT - c.VLCREDPERPAANT - c.VLCREDDCOMPPAANT -
           c.VLCREDDCOMPEFD;
  return R2(c.SLDCREDFIM() * GetPercentualCred(c) / 100);
}

const std::vector<TDadosCreditoObj*>& TnFisEFDControleCredito::MontarListaCredDispOrdenada(int32_t AImposto,
                                                                                          bool AIncluirTodos) {
  FListaOrdenada.clear();
  if (LstCredito.Vazia()) return FListaOrdenada;
  PrepararTabelaOrdem();
  PrepararTabelaOrdemAliq();
  PrepararTabelaPercentAliqPer();

  // As chaves de ordem são calculadas uma vez por crédito, não a cada comparação.
  struct TItem {
    TDadosCreditoObj* Credito;
    TDateTime Periodo;
    int32_t Ordem;
    int32_t OrdemAliq;
  };
  std::vector<TItem> itens;
  for (auto& [chave, obj] : LstCredito)
    if (obj->IMPOSTO == AImposto && PodeUtilizarCredito(AIncluirTodos, *obj))
      itens.push_back({obj.get(), DateOf(obj->PERAPUCRED), GetOrdemCred(obj->CODCRED), GetOrdemCredAliq(*obj)});

  const bool maisAntigos = ControleOpcaoEFD().GetOrdemCompCredEFD() == 1;
  const bool unificado = FormaCompensacao() == fcUnificado;
  auto periodoAntes = [maisAntigos](const TItem& a, const TItem& b) {
    return maisAntigos ? a.Periodo < b.Periodo : a.Periodo > b.Periodo;
  };
  std::stable_sort(itens.begin(), itens.end(), [&](const TItem& a, const TItem& b) {
    if (unificado) {
      if (a.Periodo != b.Periodo) return periodoAntes(a, b);
      if (a.Ordem != b.Ordem) return a.Ordem < b.Ordem;
    } else {
      if (a.Ordem != b.Ordem) return a.Ordem < b.Ordem;
      if (a.Periodo != b.Periodo) return periodoAntes(a, b);
    }
    return a.OrdemAliq < b.OrdemAliq;
  });
  FListaOrdenada.reserve(itens.size());
  for (const TItem& i : itens) FListaOrdenada.push_back(i.Credito);
  return FListaOrdenada;
}

double TnFisEFDControleCredito::CompensarCredito(TDadosCreditoObj& ACredito, double AValor) {
  const std::string chave = GetChave(ACredito);
  TDadosCreditoObj* linha = ProcurarCredito(chave);
  if (!linha) {
    if (Nutilarquivo::EhUsoInterno())
      throw EPisco("TnFisEFDControleCredito.CompensarCredito:: O crédito " + chave +
                   " está tentando compensar porém não foi incluído na lista de créditos do perído!");
    return 0;
  }
  const double usado = std::min(CalcularCreditoDisponivel(ACredito), AValor);
  if (usado <= 0) return 0;
  linha->VLCREDDESCEFD += usado;
  AtualizarCreditoDescontadoM100_M500(*linha, usado);
  return usado;
}

void TnFisEFDControleCredito::OrdenarLstRegM100_M500(TDadosCreditoObj& ACredito) {
  // Ordem de texto, como o host a fazia: "100" vem antes de "20".
  auto texto = [](const TM100_500CreditoImposto* r) {
    return Decimal::TextoCurto(r->GetVL_BC()) + ";" + Decimal::TextoCurto(r->FALIQ) + ";" +
           Decimal::TextoCurto(r->FALIQ_QUANT);
  };
  std::vector<std::pair<std::string, TM100_500CreditoImposto*>> itens;
  itens.reserve(ACredito.LstRegM100_500.size());
  for (auto* r : ACredito.LstRegM100_500) itens.emplace_back(texto(r), r);
  std::stable_sort(itens.begin(), itens.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (size_t i = 0; i < itens.size(); ++i) ACredito.LstRegM100_500[i] = itens[i].second;
}

void TnFisEFDControleCredito::AtualizarCreditoDescontadoM100_M500(TDadosCreditoObj& ACredito, double AValor) {
  OrdenarLstRegM100_M500(ACredito);
  for (auto* r : ACredito.LstRegM100_500) {
    if (AValor == 0) break;
    const double disponivel = r->GetVL_CRED_DISP();
    if (r->FVL_CRED_DESC + AValor <= disponivel) {
      r->FVL_CRED_DESC += AValor;
      AValor = 0;
    } else {
      AValor -= disponivel - r->FVL_CRED_DESC;
      r->FVL_CRED_DESC = disponivel;
    }
  }
  // O que sobra não vai a registro nenhum: a linha do controle já tem o valor inteiro.
}

// ------------------------------------------------------------------ compensação dos retidos

const std::vector<TDadosRetido>& TnFisEFDControleCredito::MontarListaRetidoOrdenada(int32_t AImposto) {
  FListaOrdenadaRetido.clear();
  if (LstCredRetido.Vazia()) return FListaOrdenadaRetido;
  for (const auto& [chave, linha] : LstCredRetido)
    if (linha.IMPOSTO == AImposto) FListaOrdenadaRetido.push_back(linha);
  std::stable_sort(FListaOrdenadaRetido.begin(), FListaOrdenadaRetido.end(),
                   [](const TDadosRetido& a, const TDadosRetido& b) { return CompararDias(a.PRRECRET, b.PRRECRET) < 0; });
  return FListaOrdenadaRetido;
}

void TnFisEFDControleCredito::AtualizarCredRetido(const TDadosRetido& ARetido) {
  LstCredRetido.Gravar(GetChave(ARetido), ARetido);
}

TCompensacaoRetido TnFisEFDControleCredito::TipoCompensacaoRetido(const std::string& ATipoDebito) {
  switch (ControleOpcaoEFD().GetIncTributaria()) {
    case 1:
      return crNaoCumulativo;
    case 2:
      return crCumulativo;
    default:
      if (!ControleOpcaoEFD().GetValidarOrigemCompRet()) return crPrimeiroCumDepoisNCum;
      if (Contem(kLstTipoDebitoNaoCum, ATipoDebito)) return crNaoCumulativo;
      if (Contem(kLstTipoDebitoCum, ATipoDebito)) return crCumulativo;
      return crPrimeiroCumDepoisNCum;
  }
}

double TnFisEFDControleCredito::GetDebitoRestanteRetido(const std::string& ATipoDebito,
                                                        const TM200_600ConsolidContribImposto& ARegistro) {
  switch (TipoCompensacaoRetido(ATipoDebito)) {
    case crCumulativo:
      return ARegistro.GetVL_CONT_CUM_REC();
    case crNaoCumulativo:
      return ARegistro.GetVL_CONT_NC_REC();
    default:
      return ARegistro.GetVL_CONT_CUM_REC() + ARegistro.GetVL_CONT_NC_REC();
  }
}

void TnFisEFDControleCredito::CompensarRetido(TM200_600ConsolidContribImposto& ARegistro, int16_t AImposto) {
  const std::vector<TDadosRetido> lista = MontarListaRetidoOrdenada(AImposto);
  const double R = ARegistro.GetRecNaoCompRet();

  // Fase da proporção: a parte da contribuição não cumulativa que retido não pode abater se
  // reparte entre as linhas não cumulativas, na proporção do que cada uma poderia abater.
  double T = 0, A = 0, S = 0;
  if (R > 0) {
    for (const TDadosRetido& i : lista) {
      if (TipoCompensacaoRetido(i.TIPODEBITO) != crNaoCumulativo) continue;
      if (T == 0) {
        for (const TDadosRetido& j : lista) {
          T += std::min(j.SLDRET(), GetDebitoRestanteRetido(j.TIPODEBITO, ARegistro));
          A = std::max(A, j.VLRETAPU);
        }
      }
      // Sem base positiva não há proporção (divisor zero): a fase não reparte nada.
      if (T <= 0) break;
      TDadosRetido recalculada = i;
      recalculada.VLRETDED = i.SLDRET() - i.SLDRET() * (R / T);
      S += recalculada.SLDRET();
    }
  }
  const bool proporcao = R > 0 && T > 0;

  const int formaControle = ControleOpcaoEFD().GetFormaControleRetidos();
  for (const TDadosRetido& original : lista) {
    TDadosRetido i = original;
    ARegistro.FVL_DIFERIDO_CUM += i.VLDIFERIDOAPU;
    ARegistro.FVL_DIFERIR_CUM += i.VLDIFERIRAPU;
    if (formaControle == 2 && CompararDias(i.DATATOTAL, FDataInicial) < 0) continue;
    const double debito = GetDebitoRestanteRetido(i.TIPODEBITO, ARegistro);
    if (debito <= 0) continue;
    const TCompensacaoRetido tipo = TipoCompensacaoRetido(i.TIPODEBITO);
    double v = std::min(i.SLDRET(), debito);
    // Sem proporção possível, a linha não cumulativa também deixa de fora a parte que retido não abate.
    if (tipo != crNaoCumulativo || (R > 0 && !proporcao)) v -= R;
    if (v <= 0) continue;
    if (tipo == crNaoCumulativo && proporcao) {
      i.VLRETDED = i.SLDRET() - i.SLDRET() * (R / T);
      if (i.VLRETAPU == A) {
        if (S > R) i.VLRETDED += S - R;
        if (R > S) i.VLRETDED -= R - S;
      }
    } else {
      i.VLRETDED += v;
    }
    switch (tipo) {
      case crCumulativo:
        ARegistro.FVL_RET_CUM += v;
        break;
      case crNaoCumulativo:
        ARegistro.FVL_RET_NC += v;
        break;
      default: {
        const double m = std::min(ARegistro.GetVL_CONT_CUM_REC(), v);
        ARegistro.FVL_RET_CUM += m;
        ARegistro.FVL_RET_NC += v - m;
      }
    }
    AtualizarCredRetido(i);
  }
}
