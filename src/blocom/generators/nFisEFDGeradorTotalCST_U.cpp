#include "blocom/generators/nFisEFDGeradorTotalCST_U.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "base/Erros.h"
#include "base/Format.h"
#include "base/Nutil.h"
#include "blocom/control/nFisEFDGeradorBlocoMConfig_U.h"
#include "host/DMSQLDataSet.h"
#include "host/LucroRealPresumido.h"
#include "host/Nutildb.h"
#include "host/Nutilinclusao.h"
#include "host/OpcaoEFD.h"
#include "host/PatServicosDACON.h"

namespace {

using Nutil::Aparar;

std::string Maiusculas(std::string s) {
  for (auto& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// Soma de uma coluna de valor com duas casas, como o servidor soma e arredonda.
std::string Soma(const std::string& AExpr, const std::string& AApelido, int ACasas = 2) {
  return "CAST(SUM(" + AExpr + ") AS NUMERIC(" + std::string(ACasas == 4 ? "18" : "14") + "," +
         std::to_string(ACasas) + ")) " + AApelido;
}

// Cada fonte é um modelo formatado duas vezes (PIS e COFINS) e unido com UNION ALL:
//   %0:d código do tributo (15, 16)
//   %1:s sufixo das colunas de alíquota, CST, valor e crédito ("PIS", "COFINS")
//   %2:s sufixo do tipo de crédito/débito dos lançamentos e do imobiliário ("PIS", "")
//   %3:s sufixo das colunas de CST e tipo do F100 ("", "COFINS")
std::string Metades(const std::string& AModelo, const std::string& AOrdem) {
  return Format(AModelo, {TVariant(int64_t{15}), TVariant(std::string("PIS")), TVariant(std::string("PIS")),
                          TVariant(std::string())}) +
         " UNION ALL " +
         Format(AModelo, {TVariant(int64_t{16}), TVariant(std::string("COFINS")), TVariant(std::string()),
                          TVariant(std::string("COFINS"))}) +
         " ORDER BY " + AOrdem;
}

std::unique_ptr<TnClientDataSet> ComoCliente(std::unique_ptr<TDataSet> ADataSet) {
  auto* cds = dynamic_cast<TnClientDataSet*>(ADataSet.get());
  if (!cds) throw EBancoDados("Totais por CST: a consulta não devolveu um dataset em memória");
  ADataSet.release();
  return std::unique_ptr<TnClientDataSet>(cds);
}

void Destruir(std::unique_ptr<TnClientDataSet>& ADataSet) {
  if (!ADataSet) return;
  std::unique_ptr<TDataSet> ds(ADataSet.release());
  Nutildb::DestruirSQL(ds);
}

double Valor(const TFieldRef& ACampo) { return ACampo.IsNull() ? 0 : ACampo.AsFloat(); }
int Inteiro(const TFieldRef& ACampo) { return ACampo.IsNull() ? 0 : static_cast<int>(ACampo.AsInteger()); }
std::string Texto(const TFieldRef& ACampo) { return ACampo.IsNull() ? std::string() : ACampo.AsString(); }

}  // namespace

TnFisEFDGeradorTotalCST::TnFisEFDGeradorTotalCST() { CriarEntCreditoBem(); }

TnFisEFDGeradorTotalCST::~TnFisEFDGeradorTotalCST() {
  for (auto* ds : {&FcurEntradaLcto, &FcurEntEstoqAbert, &FcurEntDemaisDoc, &FcurSaidaLcto, &FcurSaidaExclu,
                   &FcurSaidaImob, &FcurSaidaDemaisDoc, &FcurEntCreditoBem, &FcurEntImobCustoOrc, &FcurEntImobCustoInc,
                   &FcurTotalMov})
    Destruir(*ds);
}

void TnFisEFDGeradorTotalCST::CriarEntCreditoBem() {
  FcurEntCreditoBem = std::make_unique<TnClientDataSet>();
  auto& d = *FcurEntCreditoBem;
  d.AddFieldDef("CodigoEstab", TFieldType::ftInteger);
  d.AddFieldDef("NumeroBem", TFieldType::ftInteger);
  d.AddFieldDef("DescricaoBem", TFieldType::ftString, 300);
  d.AddFieldDef("OrigemBem", TFieldType::ftInteger);
  d.AddFieldDef("TipoDaconCredito", TFieldType::ftInteger);
  d.AddFieldDef("TipoCredito", TFieldType::ftString, 20);
  d.AddFieldDef("TipoApuracao", TFieldType::ftInteger);
  d.AddFieldDef("CSTPIS", TFieldType::ftInteger);
  d.AddFieldDef("CSTCOFINS", TFieldType::ftInteger);
  d.AddFieldDef("QuotaMensal", TFieldType::ftFloat);
  d.AddFieldDef("AliquotaPis", TFieldType::ftFloat);
  d.AddFieldDef("AliquotaCofins", TFieldType::ftFloat);
  d.AddFieldDef("CreditoPis", TFieldType::ftFloat);
  d.AddFieldDef("CreditoCofins", TFieldType::ftFloat);
  d.CreateDataSet();
  FieldMapper().MapearFields(d, FMapCreditoBem);
}

// ------------------------------------------------------------------ caminho e preparação

bool TnFisEFDGeradorTotalCST::OptanteEFD() {
  ControleOpcaoEFD().Configurar(FCodigoEmpresa, EstabComoInteiro(FCodigoEstab), FDataInicial);
  return ControleOpcaoEFD().GetEhOptanteEFD();
}

void TnFisEFDGeradorTotalCST::GerarTotais() {
  if (!OptanteEFD())
    GerarTotaisLcto(true);
  else if (FModoApuracao)
    GerarTotaisLcto(false);
  else
    GerarTotalEFD();
}

void TnFisEFDGeradorTotalCST::PrepararTotal() {
  if (!FcurTotalMov) {
    FcurTotalMov = std::make_unique<TnClientDataSet>();
    auto& t = *FcurTotalMov;
    t.AddFieldDef("Origem", TFieldType::ftString, 2);
    t.AddFieldDef("CodigoEstab", TFieldType::ftInteger);
    t.AddFieldDef("TipoImposto", TFieldType::ftInteger);
    t.AddFieldDef("CST", TFieldType::ftInteger);
    t.AddFieldDef("CodigoTabSPED", TFieldType::ftString, 20);
    t.AddFieldDef("TipoLcto", TFieldType::ftInteger);
    t.AddFieldDef("CodigoCFOP", TFieldType::ftInteger);
    t.AddFieldDef("ValorTotal", TFieldType::ftFloat);
    t.AddFieldDef("BaseCalculo", TFieldType::ftFloat);
    t.AddFieldDef("ValorContrib", TFieldType::ftFloat);
    // Conta com o tamanho do esquema (até 60 no F100): a conta faz
    // parte da chave: cortar juntaria contas diferentes numa linha só.
    t.AddFieldDef("ContaCtb", TFieldType::ftString, 60);
    t.AddFieldDef("DescrCompl", TFieldType::ftString, 100);
    t.AddFieldDef("DataTotal", TFieldType::ftDate);
    t.SetIndexFieldNames(IndiceTotal);
    t.CreateDataSet();
  } else {
    FcurTotalMov->EmptyDataSet();
  }
  FieldMapper().MapearFields(*FcurTotalMov, FMapTotal);
  LimparRecTotal();
}

void TnFisEFDGeradorTotalCST::GerarTotaisLcto(bool ADacon) {
  FDacon = ADacon;
  PrepararTotal();
  if (FProcessarCredito) {
    GerarEntradaLcto();
    GerarEntCreditoBem();
    GerarEntEstoqAbert();
    GerarEntDemaisDoc();
    GerarEntImobCustoInc();
    GerarEntImobCustoOrc();
  }
  if (FProcessarDebito) {
    GerarSaidaLcto();
    GerarSaidasExclu();
    GerarSaidaImob();
    GerarSaidaDemaisDoc();
  }
  FcurTotalMov->First();
}

void TnFisEFDGeradorTotalCST::GerarTotalEFD() {
  PrepararTotal();
  auto ds = Nutildb::ExecutarSQL(GetSqlTotalEFD(), GetParams());
  for (; !ds->Eof(); ds->Next()) {
    FRecTotal.Origem = ds->FieldByName("ORIGEM").AsString();
    FRecTotal.CodigoEstab = static_cast<int16_t>(ds->FieldByName("CODIGOESTAB").AsInteger());
    FRecTotal.TipoImposto = static_cast<int16_t>(ds->FieldByName("TIPOIMPOSTO").AsInteger());
    FRecTotal.CST = static_cast<int16_t>(ds->FieldByName("CST").AsInteger());
    FRecTotal.CodigoTabSPED = ds->FieldByName("CODIGOTABSPED").AsString();
    TField& cfop = ds->FieldByName("CODIGOCFOP");
    FRecTotal.CodigoCFOP = cfop.IsNull() ? 0 : static_cast<int32_t>(cfop.AsInteger());
    FRecTotal.TipoLcto = static_cast<TTipoLcto>(ds->FieldByName("TIPOLCTO").AsInteger());
    for (auto [nome, destino] : {std::pair{"VALORTOTAL", &FRecTotal.ValorTotal},
                                 std::pair{"BASECALCULO", &FRecTotal.BaseCalculo},
                                 std::pair{"VALORCONTRIB", &FRecTotal.ValorContrib}}) {
      TField& f = ds->FieldByName(nome);
      *destino = f.IsNull() ? 0 : f.AsFloat();
    }
    // Totais já apurados: a linha nova guarda a data do próprio total.
    InserirRecTotal(ds->FieldByName("DATATOTAL").AsDateTime());
  }
  Nutildb::DestruirSQL(ds);
  FcurTotalMov->First();
}

TParams TnFisEFDGeradorTotalCST::GetParams() const {
  return {TVariant(int64_t{FCodigoEmpresa}), VarDate(FDataInicial), VarDate(FDataFinal)};
}

void TnFisEFDGeradorTotalCST::GerarMovimento(std::unique_ptr<TnClientDataSet>& ADataSet, const std::string& ASQL) {
  if (ADataSet && Maiusculas(ADataSet->CommandText()) == Maiusculas(ASQL)) {
    Nutildb::RefreshSQL(*ADataSet, GetParams());
    return;
  }
  Destruir(ADataSet);
  ADataSet = ComoCliente(Nutildb::ExecutarSQL(ASQL, GetParams(), true));
}

// ------------------------------------------------------------------ filtros

std::string TnFisEFDGeradorTotalCST::GetFiltroEstab(const std::string& AColuna) const {
  return FilterInterval({AColuna}, Aparar(FCodigoEstab), {tiExInclusao}, true, kFiltroNumero);
}

std::string TnFisEFDGeradorTotalCST::GetFiltroEstabSCP() const {
  const std::string estab = Aparar(FCodigoEstab);
  if (estab.empty()) return "";
  return " and ((" + FilterInterval({"LS.CODIGOESTAB"}, estab, {tiExInclusao}, false, kFiltroNumero) +
         "and (LS.CODIGOESTABSCP is null)) or (" +
         FilterInterval({"LS.CODIGOESTABSCP"}, estab, {tiExInclusao}, false, kFiltroNumero) + "))";
}

std::string TnFisEFDGeradorTotalCST::GetFiltroCSTReceita() const {
  if (FReceitas.empty()) return "00";
  std::string r;
  if (FReceitas.count(rTributadas)) r = "01, 02, 03, 05";
  if (FReceitas.count(rIsentas)) {
    if (!r.empty()) r += ", ";
    // A partir de 08/2013 o CST 05 (substituição tributária) deixou de ser receita isenta.
    r += FTipoTotal != TTipoTotal::tnTotalEFDMov && FDataInicial >= EncodeDate(2013, 8, 1) ? "04, 06, 07, 08, 09"
                                                                                          : "04, 05, 06, 07, 08, 09";
  }
  return r.empty() ? "00" : r;
}

std::string TnFisEFDGeradorTotalCST::GetFiltroDataPagamento() const {
  // Empresa sem opção da EFD em vigor (caminho DACON): não há data de opção a respeitar.
  if (!ControleOpcaoEFD().LinhaEmVigor()) return "";
  const TDateTime dataEFD = ControleOpcaoEFD().GetDataEFD();
  const std::string literal = Nutil::ValorParaSQL(VarDate(dataEFD));
  // A opção anterior à data da EFD mais recente diz se a empresa já vinha no regime de caixa.
  const TVariant regime = TnDMSQLDataSet::PegarValorCampo(
      "OPCAOEFD", "REGIMEAPU",
      " DATAEFD < " + literal + " AND CODIGOEMPRESA = " + std::to_string(FCodigoEmpresa) +
          GetFiltroEstab("CODIGOESTAB") + " ORDER BY DATAEFD DESC");
  if (!VarIsNull(regime) && VarToInt(regime) == 1) return "";
  return " and DSPP.DATALCTOFIS >= " + literal;
}

std::string TnFisEFDGeradorTotalCST::GetFiltroSqlM210_M610() const {
  std::string r;
  if (FRegimeCaixa) r += GetFiltroDataPagamento();
  r += " and " + std::string(FRegimeCaixa ? "DSPP.DATAPGTO" : "LS.DATALCTOFIS") + " between :DATAINICIAL and :DATAFINAL ";
  r += " and LPC.CDSITUATRIBUT%1:s IN (" + GetFiltroCSTReceita() + ")";
  r += " and LPC.TIPODEBITO <> " + Nutil::ValorParaSQL(std::string("4.3.05.00"));
  r += " and T.CODIGOEMPRESA is null ";
  return r;
}

// ------------------------------------------------------------------ textos das fontes

std::string TnFisEFDGeradorTotalCST::GetSqlEntradaLcto() const {
  return Metades(
      "SELECT LPC.CODIGOESTAB, %0:d TIPOIMPOSTO, LPC.CDSITUATRIBUT%1:s CST, LPC.CODIGOCFOP, "
      "LPC.TIPOCREDITO%2:s TIPOCREDITO, LPC.ALIQ%1:s ALIQ, P.DACONTIPORECEITA, " +
          Soma("LPC.QUANTIDADE", "QUANTIDADE", 4) + ", " + Soma("LPC.RECEITAPISCOFINS", "RECEITAPISCOFINS") + ", " +
          Soma("LPC.BASECALCULOPISCOFINS", "BASECALCULOPISCOFINS") + ", " + Soma("LPC.VALOR%1:s", "VALOR") +
          ", CASE WHEN LPC.QUANTIDADE > 0 THEN 1 ELSE 0 END TEMQTD"
          " FROM LCTOFISENTPISCOFINS LPC"
          " JOIN PRODUTO P ON P.CODIGOEMPRESA = LPC.CODIGOEMPRESA AND P.CODIGOPRODUTO = LPC.CODIGOPRODUTO"
          " WHERE LPC.CODIGOEMPRESA = :CODIGOEMPRESA" +
          GetFiltroEstab("LPC.CODIGOESTAB") +
          " AND LPC.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL"
          " AND LPC.CDSITUATRIBUT%1:s NOT IN (70, 71, 72, 73, 74, 75) AND LPC.ALIQ%1:s > 0"
          " GROUP BY LPC.CODIGOESTAB, LPC.CDSITUATRIBUT%1:s, LPC.CODIGOCFOP, LPC.TIPOCREDITO%2:s, LPC.ALIQ%1:s,"
          " P.DACONTIPORECEITA, CASE WHEN LPC.QUANTIDADE > 0 THEN 1 ELSE 0 END",
      "1, 2, 3, 4, 5, 6, 7, 12");
}

std::string TnFisEFDGeradorTotalCST::GetSqlEntEstoqAbert() const {
  // No caminho DACON o lucro real guarda a parcela do mês; na EFD guarda o crédito do estoque
  // inteiro, apropriado em doze meses.
  return Metades(
      "SELECT EA.CODIGOESTAB, %0:d TIPOIMPOSTO, '4.3.07.18' TIPOCREDITO, EA.ALIQ%1:s ALIQ, EA.CST%1:s CST, " +
          std::string(FDacon ? "0" : "EA.TIPOAPURACAO") + " TIPOAPURACAO, " + Soma("EA.VLRTOTEST", "VLRTOTEST") +
          ", " + Soma("EA.VLRBCMENEST", "VLRBCMENEST") + ", " +
          Soma(FDacon ? "EA.VLRCRED%1:s" : "EA.VLRCRED%1:s / 12", "VLRCRED") +
          (FDacon ? " FROM LUCROREALCREDPRESESTOQABERT EA" : " FROM EFDCREDPRESESTOQABERT EA") +
          " WHERE EA.CODIGOEMPRESA = :CODIGOEMPRESA" + GetFiltroEstab("EA.CODIGOESTAB") +
          " AND EA.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL"
          " GROUP BY EA.CODIGOESTAB, EA.ALIQ%1:s, EA.CST%1:s" +
          (FDacon ? "" : ", EA.TIPOAPURACAO"),
      "1, 2, 4, 5, 6");
}

std::string TnFisEFDGeradorTotalCST::GetSqlEntDemaisDoc() const {
  return Metades(
      "SELECT D.CODIGOESTAB, %0:d TIPOIMPOSTO, D.CST%3:s CST, D.TIPOCREDITO%3:s TIPOCREDITO, D.ALIQ%1:s ALIQ,"
      " D.ORIGEMCREDITO, D.COMPENSARETENCAO, D.CONTACTB, MAX(D.DESCRICAO) DESCRCOMPL, " +
          Soma("D.VALOROPER", "VALOROPER") + ", " + Soma("D.BASECALCULO", "BASECALCULO") + ", " +
          Soma("D.VALOR%1:s", "VALOR") + " FROM EFDF100DEMAISDOC D WHERE D.CODIGOEMPRESA = :CODIGOEMPRESA" +
          GetFiltroEstab("D.CODIGOESTAB") +
          " AND D.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL AND D.INDOPER = 0"
          " AND (D.CST%3:s BETWEEN 50 AND 56 OR D.CST%3:s BETWEEN 60 AND 67)"
          " GROUP BY D.CODIGOESTAB, D.CST%3:s, D.TIPOCREDITO%3:s, D.ALIQ%1:s, D.ORIGEMCREDITO, D.COMPENSARETENCAO,"
          " D.CONTACTB",
      "1, 2, 3, 4, 5, 6, 7, 8");
}

std::string TnFisEFDGeradorTotalCST::GetSqlEntImobCustoInc() const {
  return Metades(
      "SELECT L.CODIGOESTAB, %0:d TIPOIMPOSTO, L.TIPOCREDITO%2:s TIPOCREDITO, L.CST%1:s CST, L.ALIQ%1:s ALIQ, " +
          Soma("L.VLCUSINCPERESC", "VLCUSINCPERESC") + ", " + Soma("L.VLBCCUSINC", "VLBCCUSINC") + ", " +
          Soma("L.VLCRED%1:sDESC", "VLCREDDESC") +
          " FROM EFDUNIDIMOBCUSTOINC L WHERE L.CODIGOEMPRESA = :CODIGOEMPRESA" + GetFiltroEstab("L.CODIGOESTAB") +
          " AND L.COMPRECEB BETWEEN :DATAINICIAL AND :DATAFINAL"
          " GROUP BY L.CODIGOESTAB, L.TIPOCREDITO%2:s, L.CST%1:s, L.ALIQ%1:s",
      "1, 2, 3, 4, 5");
}

std::string TnFisEFDGeradorTotalCST::GetSqlEntImobCustoOrc() const {
  return Metades(
      "SELECT L.CODIGOESTAB, %0:d TIPOIMPOSTO, L.TIPOCREDITO%2:s TIPOCREDITO, L.CST%1:s CST, L.ALIQ%1:s ALIQ, " +
          Soma("L.VLEXC", "VLEXC") + ", " + Soma("L.VLBCCRED", "VLBCCRED") + ", " +
          Soma("L.VLCRED%1:sUTIL", "VLCREDUTIL") +
          " FROM EFDUNIDIMOBCUSTOORC L WHERE L.CODIGOEMPRESA = :CODIGOEMPRESA" + GetFiltroEstab("L.CODIGOESTAB") +
          " AND L.COMPRECEB BETWEEN :DATAINICIAL AND :DATAFINAL"
          " GROUP BY L.CODIGOESTAB, L.TIPOCREDITO%2:s, L.CST%1:s, L.ALIQ%1:s",
      "1, 2, 3, 4, 5");
}

std::string TnFisEFDGeradorTotalCST::GetSqlSaidaLcto() const {
  // Regime de caixa: receita, base e quantidade de cada item na proporção do que foi pago
  // (com o desconto concedido) sobre o valor da duplicata.
  const std::string fator =
      "CAST((DSPP.VALORPAGO + COALESCE(DSPP.VALORDESCONTO, 0)) / NULLIF(DSP.VALORPARCELA, 0) AS NUMERIC(18,7))";
  auto prop = [&](const std::string& e, int casas) {
    return FRegimeCaixa ? "CAST(" + e + " * " + fator + " AS NUMERIC(" + (casas == 4 ? "18" : "14") + "," +
                              std::to_string(casas) + "))"
                        : e;
  };
  const std::string receita = prop("LPC.RECEITAPISCOFINS", 2), base = prop("LPC.BASECALCULOPISCOFINS", 2),
                    qtd = prop("LPC.QUANTIDADE", 4);
  const std::string estab = FRegimeCaixa ? "LPC.CODIGOESTAB" : "COALESCE(LS.CODIGOESTABSCP, LPC.CODIGOESTAB)";
  const std::string temQtd = "CASE WHEN LPC.QUANTIDADE > 0 THEN 1 ELSE 0 END";
  std::string origem;
  if (FRegimeCaixa)
    origem =
        " FROM DUPLICATASAIPGTO DSPP"
        " JOIN (SELECT DP.CODIGOEMPRESA, DP.CODIGOESTAB, DP.CHAVEDUPLICATASAI,"
        " CAST(SUM(DP.VALORPARCELA) AS NUMERIC(18,7)) VALORPARCELA FROM DUPLICATASAIPARCELA DP"
        " WHERE DP.CODIGOEMPRESA = :CODIGOEMPRESA AND DP.CHAVEDUPLICATASAI IN (SELECT PG.CHAVEDUPLICATASAI"
        " FROM DUPLICATASAIPGTO PG WHERE PG.CODIGOEMPRESA = :CODIGOEMPRESA"
        " AND PG.DATAPGTO BETWEEN :DATAINICIAL AND :DATAFINAL)"
        " GROUP BY DP.CODIGOEMPRESA, DP.CODIGOESTAB, DP.CHAVEDUPLICATASAI) DSP"
        " ON DSP.CODIGOEMPRESA = DSPP.CODIGOEMPRESA AND DSP.CODIGOESTAB = DSPP.CODIGOESTAB"
        " AND DSP.CHAVEDUPLICATASAI = DSPP.CHAVEDUPLICATASAI"
        " JOIN DUPLICATASAI DS ON DS.CODIGOEMPRESA = DSPP.CODIGOEMPRESA AND DS.CODIGOESTAB = DSPP.CODIGOESTAB"
        " AND DS.CHAVEDUPLICATASAI = DSPP.CHAVEDUPLICATASAI"
        " JOIN LCTOFISSAI LS ON LS.CODIGOEMPRESA = DS.CODIGOEMPRESA AND LS.CHAVELCTOFISSAI = DS.CHAVELCTOFISSAI";
  else
    origem = " FROM LCTOFISSAI LS";
  origem +=
      " JOIN LCTOFISSAIPISCOFINS LPC ON LPC.CODIGOEMPRESA = LS.CODIGOEMPRESA"
      " AND LPC.CHAVELCTOFISSAI = LS.CHAVELCTOFISSAI"
      " JOIN PRODUTO P ON P.CODIGOEMPRESA = LPC.CODIGOEMPRESA AND P.CODIGOPRODUTO = LPC.CODIGOPRODUTO"
      " LEFT JOIN LCTOFISTMP T ON T.CODIGOEMPRESA = LPC.CODIGOEMPRESA AND T.CHAVELCTOFISSAI = LPC.CHAVELCTOFISSAI"
      " AND T.CODIGOPRODUTO = LPC.CODIGOPRODUTO AND T.SEQ = LPC.SEQ";
  const std::string onde = FRegimeCaixa ? " WHERE DSPP.CODIGOEMPRESA = :CODIGOEMPRESA" + GetFiltroEstab("DSPP.CODIGOESTAB")
                                        : " WHERE LS.CODIGOEMPRESA = :CODIGOEMPRESA" + GetFiltroEstabSCP();
  // Contribuição: por quantidade (valor por unidade) quando a soma das quantidades não é 0,
  // senão base x alíquota; cada produto com duas casas, como o registro calcula.
  const std::string contrib = "CASE WHEN SUM(" + qtd + ") <> 0 THEN SUM(CAST(" + qtd +
                              " * LPC.ALIQ%1:s AS NUMERIC(14,2))) ELSE SUM(CAST(" + base +
                              " * LPC.ALIQ%1:s / 100 AS NUMERIC(14,2))) END VALORCONTRIB";
  const std::string modelo =
      "SELECT " + estab + " CODIGOESTAB, %0:d TIPOIMPOSTO, LPC.CODIGOCFOP, LPC.TIPODEBITO%2:s TIPODEBITO, "
      "LPC.ALIQ%1:s ALIQ, SUM(" + receita + ") RECEITAPISCOFINS, SUM(" + base + ") BASECALCULOPISCOFINS, CAST(SUM(" +
      qtd + ") AS NUMERIC(18,4)) QUANTIDADE, " + contrib +
      ", LPC.CDSITUATRIBUT%1:s CST, P.DACONTIPORECEITA, LPC.CONTACTBEFD CONTACTB, " + temQtd + " TEMQTD" + origem +
      onde + GetFiltroSqlM210_M610() + " GROUP BY " + estab +
      ", LPC.CODIGOCFOP, LPC.TIPODEBITO%2:s, LPC.ALIQ%1:s, LPC.CDSITUATRIBUT%1:s, P.DACONTIPORECEITA, LPC.CONTACTBEFD, " +
      temQtd;
  return Metades(modelo, "1, 2, 3, 4, 5, 10, 11, 12, 13");
}

std::string TnFisEFDGeradorTotalCST::GetTabelaDeducaoExclusao() const {
  if (!FDacon) return "EFDDEDUCAOEXCLUSAO";
  auto& lr = ControleLucroReal();
  lr.SetCodigoEmpresa(FCodigoEmpresa);
  lr.SetDataInicial(FDataInicial);
  lr.SetDataFinal(FDataFinal);
  return lr.ApuraLucroReal(lr.ProcurarDataOpcao(FDataFinal)) ? "LUCROREALDEDUCAOEXCLUSAO" : "LUCROPRESDEDUCAOEXCLUSAO";
}

std::string TnFisEFDGeradorTotalCST::GetSqlSaidaExclu() const {
  return Metades("SELECT E.CODIGOESTAB, %0:d TIPOIMPOSTO, E.CSTDET CST, E.ALIQ%1:s ALIQ, " +
                     Soma("E.VALORDET", "VALOR") + " FROM " + GetTabelaDeducaoExclusao() +
                     " E WHERE E.CODIGOEMPRESA = :pCODIGOEMPRESA" + GetFiltroEstab("E.CODIGOESTAB") +
                     " AND E.DATALCTOFIS BETWEEN :pDATAINICIAL AND :pDATAFINAL"
                     " GROUP BY E.CODIGOESTAB, E.CSTDET, E.ALIQ%1:s",
                 "1, 2, 3, 4");
}

std::string TnFisEFDGeradorTotalCST::GetSqlSaidaImob() const {
  return Metades(
      "SELECT L.CODIGOESTAB, %0:d TIPOIMPOSTO, L.TIPODEBITO%2:s TIPODEBITO, L.CST%1:s CST, L.ALIQ%1:s ALIQ, " +
          Soma("L.VLTOTREC", "VLTOTREC") + ", " + Soma("L.VLBC", "VLBASECALC") + ", " +
          Soma("L.VL%1:s", "VALORCONTRIB") +
          " FROM EFDUNIDIMOBVENDIDA L WHERE L.CODIGOEMPRESA = :CODIGOEMPRESA" + GetFiltroEstab("L.CODIGOESTAB") +
          " AND L.COMPRECEB BETWEEN :DATAINICIAL AND :DATAFINAL"
          " GROUP BY L.CODIGOESTAB, L.TIPODEBITO%2:s, L.CST%1:s, L.ALIQ%1:s",
      "1, 2, 3, 4, 5");
}

std::string TnFisEFDGeradorTotalCST::GetSqlSaidaDemaisDoc() const {
  return Metades(
      "SELECT D.CODIGOESTAB, %0:d TIPOIMPOSTO, D.INDOPER, D.CST%3:s CST, D.TIPODEBITO%3:s TIPODEBITO,"
      " D.ALIQ%1:s ALIQ, D.COMPENSACRED, D.CONTACTB, D.COMPENSARETENCAO, MAX(D.DESCRICAO) DESCRCOMPL, " +
          Soma("D.VALOROPER", "VALOROPER") + ", " + Soma("D.BASECALCULO", "BASECALCULO") + ", " +
          Soma("D.VALOR%1:s", "VALORCONTRIB") + " FROM EFDF100DEMAISDOC D WHERE D.CODIGOEMPRESA = :CODIGOEMPRESA" +
          GetFiltroEstab("D.CODIGOESTAB") +
          " AND D.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL AND D.INDOPER IN (1, 2) AND D.CST%3:s IN (" +
          GetFiltroCSTReceita() +
          ")"
          " GROUP BY D.CODIGOESTAB, D.INDOPER, D.CST%3:s, D.TIPODEBITO%3:s, D.ALIQ%1:s, D.COMPENSACRED, D.CONTACTB,"
          " D.COMPENSARETENCAO",
      "1, 2, 3, 4, 5, 6, 7, 8, 9");
}

std::string TnFisEFDGeradorTotalCST::GetSqlTotalEFD() const {
  return "SELECT M.CODIGOESTAB, M.TIPOIMPOSTO, M.CST, M.CODIGOTABSPED, M.CODIGOCFOP, M.TIPOLCTO, M.VALORTOTAL,"
         " M.BASECALCULO, M.VALORCONTRIB, M.DATATOTAL,"
         " CASE WHEN M.TIPOLCTO IN (0, 2, 3, 5, 6, 7) THEN 'A' ELSE 'B' END ORIGEM"
         " FROM TOTALEFDMOV M WHERE M.CODIGOEMPRESA = :CODIGOEMPRESA"
         " AND M.DATATOTAL BETWEEN :DATAINICIAL AND :DATAFINAL" +
         GetFiltroEstab("M.CODIGOESTAB") + " ORDER BY M.CODIGOESTAB, M.DATATOTAL, M.SEQ";
}

// ------------------------------------------------------------------ fontes

template <class TMapa, class F>
void TnFisEFDGeradorTotalCST::Acumular(TnClientDataSet& ADataSet, F AMontar) {
  TMapa& mapa = FieldMapper().MapearFields<TMapa>(ADataSet);
  for (ADataSet.First(); !ADataSet.Eof(); ADataSet.Next()) {
    FRecTotal.CodigoEstab = static_cast<int16_t>(Inteiro(mapa.CODIGOESTAB));
    FRecTotal.TipoImposto = static_cast<int16_t>(Inteiro(mapa.TIPOIMPOSTO));
    FRecTotal.CST = static_cast<int16_t>(Inteiro(mapa.CST));
    AMontar(mapa);
    InserirRecTotal();
  }
  ADataSet.First();  // quem chama lê a fonte a partir da primeira linha
}

void TnFisEFDGeradorTotalCST::GerarEntradaLcto() {
  GerarMovimento(FcurEntradaLcto, GetSqlEntradaLcto());
  Acumular<TMapLctoEnt>(*FcurEntradaLcto, [&](TMapLctoEnt& m) {
    FRecTotal.Origem = "A";
    FRecTotal.TipoLcto = tplEntrada;
    FRecTotal.CodigoTabSPED = Texto(m.TIPOCREDITO);
    FRecTotal.CodigoCFOP = Inteiro(m.CODIGOCFOP);
    FRecTotal.ValorTotal = Valor(m.RECEITAPISCOFINS);
    FRecTotal.BaseCalculo = Valor(m.BASECALCULOPISCOFINS);
    FRecTotal.ValorContrib = Valor(m.VALOR);
  });
}

bool TnFisEFDGeradorTotalCST::EhCSTValidaParaGerarCredito(int ACst) {
  return !((ACst >= 70 && ACst <= 75) || ACst == 98 || ACst == 99);
}

std::string TnFisEFDGeradorTotalCST::GetTipoCreditoBem(int ATipoDaconCredito) {
  if (ATipoDaconCredito == 6) return "4.3.07.09";
  if (ATipoDaconCredito == 7) return "4.3.07.11";
  return "4.3.07.10";
}

void TnFisEFDGeradorTotalCST::GerarEntCreditoBem() {
  FcurEntCreditoBem->EmptyDataSet();
  const auto itens = TnPatServicosDACON::CreditosDaconPeriodo(FCodigoEmpresa, Aparar(FCodigoEstab), FDataInicial,
                                                              FDataFinal);
  auto& m = FMapCreditoBem;
  for (const auto& item : itens) {
    if (!EhCSTValidaParaGerarCredito(item.CSTPIS) || !EhCSTValidaParaGerarCredito(item.CSTCOFINS)) continue;
    FcurEntCreditoBem->Append();
    m.CodigoEstab.SetValue(int64_t{item.CodigoEstab});
    m.NumeroBem.SetValue(int64_t{item.NumeroBem});
    m.DescricaoBem.SetValue(item.DescricaoBem);
    m.OrigemBem.SetValue(int64_t{item.OrigemBem});
    m.TipoDaconCredito.SetValue(int64_t{item.TipoDaconCredito});
    m.TipoCredito.SetValue(GetTipoCreditoBem(item.TipoDaconCredito));
    m.TipoApuracao.SetValue(int64_t{item.TipoApuracao});
    m.CSTPIS.SetValue(int64_t{item.CSTPIS});
    m.CSTCOFINS.SetValue(int64_t{item.CSTCOFINS});
    m.QuotaMensal.SetValue(item.QuotaMensal);
    m.AliquotaPis.SetValue(item.AliquotaPis);
    m.AliquotaCofins.SetValue(item.AliquotaCofins);
    m.CreditoPis.SetValue(item.CreditoPis);
    m.CreditoCofins.SetValue(item.CreditoCofins);
    FcurEntCreditoBem->Post();
    InserirCreditoBem(item, 15);
    InserirCreditoBem(item, 16);
  }
  FcurEntCreditoBem->First();
}

void TnFisEFDGeradorTotalCST::InserirCreditoBem(const TnPatCreditoDacon& AItem, int16_t AImposto) {
  FRecTotal.Origem = "A";
  FRecTotal.TipoLcto = tplCreditosPAT;
  FRecTotal.CodigoEstab = static_cast<int16_t>(AItem.CodigoEstab);
  FRecTotal.CodigoTabSPED = GetTipoCreditoBem(AItem.TipoDaconCredito);
  FRecTotal.TipoImposto = AImposto;
  FRecTotal.CST = static_cast<int16_t>(AImposto == 15 ? AItem.CSTPIS : AItem.CSTCOFINS);
  FRecTotal.ValorTotal = AItem.QuotaMensal;
  FRecTotal.BaseCalculo = AItem.QuotaMensal;
  FRecTotal.ValorContrib = AImposto == 15 ? AItem.CreditoPis : AItem.CreditoCofins;
  InserirRecTotal();
}

void TnFisEFDGeradorTotalCST::GerarEntEstoqAbert() {
  GerarMovimento(FcurEntEstoqAbert, GetSqlEntEstoqAbert());
  Acumular<TMapEntEstoq>(*FcurEntEstoqAbert, [&](TMapEntEstoq& m) {
    FRecTotal.Origem = "A";
    FRecTotal.TipoLcto = tplEstoqueAbertura;
    FRecTotal.CodigoTabSPED = "4.3.07.18";
    FRecTotal.ValorTotal = Valor(m.VLRTOTEST);
    FRecTotal.BaseCalculo = Valor(m.VLRBCMENEST);
    FRecTotal.ValorContrib = Valor(m.VLRCRED);
  });
}

void TnFisEFDGeradorTotalCST::GerarEntDemaisDoc() {
  GerarMovimento(FcurEntDemaisDoc, GetSqlEntDemaisDoc());
  Acumular<TMapEntDemaisDoc>(*FcurEntDemaisDoc, [&](TMapEntDemaisDoc& m) {
    FRecTotal.Origem = "A";
    FRecTotal.TipoLcto = tplDemaisDocEntrada;
    FRecTotal.CodigoTabSPED = Texto(m.TIPOCREDITO);
    FRecTotal.ValorTotal = Valor(m.VALOROPER);
    FRecTotal.BaseCalculo = Valor(m.BASECALCULO);
    FRecTotal.ValorContrib = Valor(m.VALOR);
  });
}

void TnFisEFDGeradorTotalCST::GerarEntImobCustoInc() {
  GerarMovimento(FcurEntImobCustoInc, GetSqlEntImobCustoInc());
  Acumular<TMapEntImobCustoInc>(*FcurEntImobCustoInc, [&](TMapEntImobCustoInc& m) {
    FRecTotal.Origem = "A";
    FRecTotal.TipoLcto = tplUnidadeImobCusIncorrido;
    FRecTotal.CodigoTabSPED = Texto(m.TIPOCREDITO);
    FRecTotal.ValorTotal = Valor(m.VLCUSINCPERESC);
    FRecTotal.BaseCalculo = Valor(m.VLBCCUSINC);
    FRecTotal.ValorContrib = Valor(m.VLCREDDESC);
  });
}

void TnFisEFDGeradorTotalCST::GerarEntImobCustoOrc() {
  GerarMovimento(FcurEntImobCustoOrc, GetSqlEntImobCustoOrc());
  Acumular<TMapEntImobCustoOrc>(*FcurEntImobCustoOrc, [&](TMapEntImobCustoOrc& m) {
    FRecTotal.Origem = "A";
    FRecTotal.TipoLcto = tplUnidadeImobCusOrcado;
    FRecTotal.CodigoTabSPED = Texto(m.TIPOCREDITO);
    FRecTotal.ValorTotal = Valor(m.VLEXC);
    FRecTotal.BaseCalculo = Valor(m.VLBCCRED);
    FRecTotal.ValorContrib = Valor(m.VLCREDUTIL);
  });
}

void TnFisEFDGeradorTotalCST::GerarSaidaLcto() {
  GerarMovimento(FcurSaidaLcto, GetSqlSaidaLcto());
  Acumular<TMapLctoSai>(*FcurSaidaLcto, [&](TMapLctoSai& m) {
    FRecTotal.Origem = "B";
    FRecTotal.TipoLcto = tplSaida;
    FRecTotal.CodigoTabSPED = Texto(m.TIPODEBITO);
    FRecTotal.CodigoCFOP = Inteiro(m.CODIGOCFOP);
    FRecTotal.ContaCtb = Texto(m.CONTACTB);
    FRecTotal.ValorTotal = Valor(m.RECEITAPISCOFINS);
    FRecTotal.BaseCalculo = Valor(m.BASECALCULOPISCOFINS);
    FRecTotal.ValorContrib = Valor(m.VALORCONTRIB);
  });
}

void TnFisEFDGeradorTotalCST::GerarSaidasExclu() {
  GerarMovimento(FcurSaidaExclu, GetSqlSaidaExclu());
  TMapSaiExcl& m = FieldMapper().MapearFields<TMapSaiExcl>(*FcurSaidaExclu);
  for (FcurSaidaExclu->First(); !FcurSaidaExclu->Eof(); FcurSaidaExclu->Next()) {
    // Só a primeira saída (na ordem do índice) do estabelecimento, imposto e CST é reduzida.
    if (!FcurTotalMov->FindKey({TVariant(std::string("B")), TVariant(int64_t{Inteiro(m.CODIGOESTAB)}),
                                TVariant(int64_t{Inteiro(m.TIPOIMPOSTO)}), TVariant(int64_t{Inteiro(m.CST)})}))
      continue;
    const double valor = Valor(m.VALOR);
    FcurTotalMov->Edit();
    FMapTotal.BaseCalculo.SetValue(Valor(FMapTotal.BaseCalculo) - valor);
    FMapTotal.ValorContrib.SetValue(Valor(FMapTotal.ValorContrib) - Nutil::RoundValor(valor * Valor(m.ALIQ) / 100, 2));
    FcurTotalMov->Post();
  }
  FcurSaidaExclu->First();
}

void TnFisEFDGeradorTotalCST::GerarSaidaImob() {
  GerarMovimento(FcurSaidaImob, GetSqlSaidaImob());
  Acumular<TMapSaiImob>(*FcurSaidaImob, [&](TMapSaiImob& m) {
    FRecTotal.Origem = "B";
    FRecTotal.TipoLcto = tplUnidadeImobVendida;
    FRecTotal.CodigoTabSPED = Texto(m.TIPODEBITO);
    FRecTotal.ValorTotal = Valor(m.VLTOTREC);
    FRecTotal.BaseCalculo = Valor(m.VLBASECALC);
    FRecTotal.ValorContrib = Valor(m.VALORCONTRIB);
  });
}

void TnFisEFDGeradorTotalCST::GerarSaidaDemaisDoc() {
  GerarMovimento(FcurSaidaDemaisDoc, GetSqlSaidaDemaisDoc());
  Acumular<TMapSaiDemaisDoc>(*FcurSaidaDemaisDoc, [&](TMapSaiDemaisDoc& m) {
    FRecTotal.Origem = "B";
    FRecTotal.TipoLcto = tplDemaisDocSaida;
    FRecTotal.CodigoTabSPED = Texto(m.TIPODEBITO);
    FRecTotal.ContaCtb = Texto(m.CONTACTB);
    FRecTotal.DescrCompl = Texto(m.DESCRCOMPL);
    FRecTotal.ValorTotal = Valor(m.VALOROPER);
    FRecTotal.BaseCalculo = Valor(m.BASECALCULO);
    FRecTotal.ValorContrib = Valor(m.VALORCONTRIB);
  });
}

// ------------------------------------------------------------------ acumulação

void TnFisEFDGeradorTotalCST::InserirRecTotal(TDateTime ADataTotal) {
  auto& t = *FcurTotalMov;
  auto& m = FMapTotal;
  const TRecTotal& r = FRecTotal;
  if (t.FindKey({TVariant(r.Origem), TVariant(int64_t{r.CodigoEstab}), TVariant(int64_t{r.TipoImposto}),
                 TVariant(int64_t{r.CST}), TVariant(r.CodigoTabSPED), TVariant(int64_t{r.TipoLcto}),
                 TVariant(int64_t{r.CodigoCFOP}), TVariant(r.ContaCtb)})) {
    t.Edit();
  } else {
    t.Append();
    m.Origem.SetValue(r.Origem);
    m.CodigoEstab.SetValue(int64_t{r.CodigoEstab});
    m.TipoImposto.SetValue(int64_t{r.TipoImposto});
    m.CST.SetValue(int64_t{r.CST});
    m.CodigoTabSPED.SetValue(r.CodigoTabSPED);
    m.TipoLcto.SetValue(int64_t{r.TipoLcto});
    m.CodigoCFOP.SetValue(int64_t{r.CodigoCFOP});
    m.DataTotal.SetValue(VarDate(ADataTotal > 0 ? ADataTotal : FDataInicial));
    m.ContaCtb.SetValue(r.ContaCtb);
    m.DescrCompl.SetValue(r.DescrCompl);
    m.ValorTotal.SetValue(0.0);
    m.BaseCalculo.SetValue(0.0);
    m.ValorContrib.SetValue(0.0);
  }
  m.ValorTotal.SetValue(Valor(m.ValorTotal) + r.ValorTotal);
  m.BaseCalculo.SetValue(Valor(m.BaseCalculo) + r.BaseCalculo);
  m.ValorContrib.SetValue(Valor(m.ValorContrib) + r.ValorContrib);
  t.Post();
  LimparRecTotal();
}

void TnFisEFDGeradorTotalCST::LimparRecTotal() { FRecTotal = TRecTotal{}; }
