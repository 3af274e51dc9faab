#include "blocks/nArqRepositorioSPEDPisCofinsBlocoP_U.h"

#include <map>

#include "base/Format.h"
#include "base/Nutil.h"
#include "host/ClientDataSet.h"
#include "host/ControlesFiscais.h"
#include "host/Nutildb.h"
#include "host/Nutilinclusao.h"

namespace {

using TRepoP = TnArqRepositorioSPEDPisCofinsBlocoP;

TVariant Txt(std::string s) { return TVariant{std::move(s)}; }

// Primeiro dígito do CFOP (texto), para as regras de receita e exclusão.
std::string Digito(const std::string& AColuna) {
  return "SUBSTR(CAST(" + AColuna + " AS VARCHAR(10)), 1, 1)";
}

// Valor de uma coluna de total, líquido da parte de obra (TD) quando há.
std::string Liquido(const std::string& AColuna, bool AObra) {
  return AObra ? "(T." + AColuna + " - COALESCE(TD." + AColuna + ", 0))" : "T." + AColuna;
}

std::string Receita(bool AObra) {
  return "SUM(CASE WHEN " + Digito("T.CODIGOCFOP") + " NOT IN ('1', '2', '3') THEN (" + Liquido("VALORTOTAL3", AObra) +
         " + " + Liquido("VALORTOTAL4", AObra) + ") ELSE 0 END)";
}

std::string Exclusao(bool AObra) {
  return "SUM(CASE WHEN " + Digito("T.CODIGOCFOP") + " IN ('1', '2', '7') THEN (" + Liquido("VALORTOTAL3", AObra) +
         " + " + Liquido("VALORTOTAL4", AObra) + ") ELSE 0 END)";
}

std::string Sinal(const std::string& AColuna, bool AObra) {
  const std::string d = Digito("T.CODIGOCFOP");
  return "SUM(CASE WHEN " + d + " IN ('1', '2', '7') THEN -" + Liquido(AColuna, AObra) + " ELSE " +
         Liquido(AColuna, AObra) + " END)";
}

const char* kOperacoesFora = " AND T.CODIGOOPERACAOFIS NOT IN (13050, 13051, 13052, 13062) ";

}  // namespace

std::string TRepoP::GetFiltroEstab(const TnParansBlocoP& AParans, const std::string& AColuna) {
  const std::string c = FilterInterval({AColuna}, AParans.CodigoEstab, {tiExInclusao}, false);
  return c.empty() ? "" : " AND " + c + " ";
}

std::string TRepoP::GetFiltroOpFis(const std::string& AAlias, const TnParansBlocoP& AParans) {
  // Até março de 2012 só as operações da lei original.
  if (!(AParans.DataFinal < EncodeDate(2012, 4, 1))) return "";
  std::string lista;
  for (int op : {13000, 13003, 13010, 13023, 13020, 13030})
    lista += (lista.empty() ? "" : ", ") + Nutil::ValorParaSQL(TVariant{int64_t{op}});
  return " AND " + AAlias + ".CODIGOOPERACAOFIS IN (" + lista + ") ";
}

std::string TRepoP::GetFiltroCSTM400_M800(const TnParansBlocoP& AParans) {
  return AParans.DataInicial >= EncodeDate(2013, 8, 1) ? "4, 6, 7, 8, 9" : "4, 5, 6, 7, 8, 9";
}

TParams TRepoP::GetParamsEstabData(const TnParansBlocoP& p) {
  return {TVariant{int64_t{p.CodigoEmpresa}}, VarDate(DateOf(p.DataInicial)), VarDate(DateOf(p.DataFinal))};
}

std::string TRepoP::GetSqlP100_2012(const TnParansBlocoP&) {
  std::string s = "SELECT T.CODIGOOPERACAOFIS, T.CODIGONCM, CAST(NULL AS VARCHAR(20)) CONTACTBEFD, " + Receita(false) +
                  " VALORRECEITA, " + Exclusao(false) + " + COALESCE((SELECT SUM(S.VALORCOMPENSADO) FROM TOTALCONTPATRONALSALDO S "
                  "WHERE S.CODIGOEMPRESA = :CODIGOEMPRESA %s AND S.CODIGOOPERACAOFIS = T.CODIGOOPERACAOFIS "
                  "AND S.CODIGONCM = T.CODIGONCM AND S.DATATOTAL BETWEEN :DATAINICIAL AND :DATAFINAL), 0) VALOREXCLUSAO, " +
                  Sinal("VALORTOTAL1", false) + " VALORBASECALCULO, " + Sinal("VALORTOTAL2", false) +
                  " VALORCONTRIBUICAO, CAST(NULL AS VARCHAR(14)) CNO, 0 VALORRECEITAOBRA "
                  "FROM TOTALCONTPATRONALDET T "
                  "WHERE T.CODIGOEMPRESA = :CODIGOEMPRESA %s AND T.DATATOTAL BETWEEN :DATAINICIAL AND :DATAFINAL";
  s += kOperacoesFora;
  s += "%s GROUP BY T.CODIGOEMPRESA, T.CODIGOOPERACAOFIS, T.CODIGONCM ORDER BY T.CODIGOOPERACAOFIS, T.CODIGONCM";
  return s;
}

std::string TRepoP::GetSqlP100_2013(const TnParansBlocoP&) {
  std::string s = "SELECT T.CODIGOOPERACAOFIS, T.CODIGONCM, T.CONTACTBEFD, " + Receita(true) + " VALORRECEITA, " +
                  Exclusao(true) + " VALOREXCLUSAO, " +
                  Sinal("VALORTOTAL1", true) + " VALORBASECALCULO, " + Sinal("VALORTOTAL2", true) +
                  " VALORCONTRIBUICAO, CAST(NULL AS VARCHAR(14)) CNO, "
                  "SUM(COALESCE(TD.VALORTOTAL3 + TD.VALORTOTAL4, 0)) VALORRECEITAOBRA "
                  "FROM TOTALCONTPATRONALDET T "
                  "LEFT JOIN (SELECT TD.CODIGOEMPRESA, TD.CODIGOESTAB, TD.CODIGOOPERACAOFIS, TD.DATATOTAL, "
                  "TD.CODIGOCFOP, TD.CODIGONCM, SUM(TD.VALORTOTAL1) VALORTOTAL1, SUM(TD.VALORTOTAL2) VALORTOTAL2, "
                  "SUM(TD.VALORTOTAL3) VALORTOTAL3, SUM(TD.VALORTOTAL4) VALORTOTAL4 "
                  "FROM TOTALCONTPATRONALOBRADET TD WHERE TD.CODIGOEMPRESA = :CODIGOEMPRESA %2:s"
                  "AND TD.DATATOTAL BETWEEN :DATAINICIAL AND :DATAFINAL %3:s"
                  "GROUP BY TD.CODIGOEMPRESA, TD.CODIGOESTAB, TD.CODIGOOPERACAOFIS, TD.DATATOTAL, TD.CODIGOCFOP, "
                  "TD.CODIGONCM) TD ON TD.CODIGOEMPRESA = T.CODIGOEMPRESA AND TD.CODIGOESTAB = T.CODIGOESTAB "
                  "AND TD.CODIGOOPERACAOFIS = T.CODIGOOPERACAOFIS AND TD.DATATOTAL = T.DATATOTAL "
                  "AND TD.CODIGOCFOP = T.CODIGOCFOP AND TD.CODIGONCM = T.CODIGONCM "
                  "WHERE T.CODIGOEMPRESA = :CODIGOEMPRESA %0:s AND T.DATATOTAL BETWEEN :DATAINICIAL AND :DATAFINAL";
  s += kOperacoesFora;
  // Só os grupos com receita líquida das exclusões.
  s += "%1:s GROUP BY T.CODIGOEMPRESA, T.CODIGOOPERACAOFIS, T.CODIGONCM, T.CONTACTBEFD HAVING " + Receita(true) +
       " - " + Exclusao(true) + " > 0 ";
  s += "ORDER BY T.CODIGOOPERACAOFIS, T.CODIGONCM, T.CONTACTBEFD";
  return s;
}

std::string TRepoP::GetSqlP100(const TnParansBlocoP& AParans) {
  if (AParans.DataInicial < EncodeDate(2013, 1, 1))
    return Format(GetSqlP100_2012(AParans), {Txt(GetFiltroEstab(AParans, "S.CODIGOESTAB")),
                                             Txt(GetFiltroEstab(AParans, "T.CODIGOESTAB")),
                                             Txt(GetFiltroOpFis("T", AParans))});
  return Format(GetSqlP100_2013(AParans),
                {Txt(GetFiltroEstab(AParans, "T.CODIGOESTAB")), Txt(GetFiltroOpFis("T", AParans)),
                 Txt(GetFiltroEstab(AParans, "TD.CODIGOESTAB")), Txt(GetFiltroOpFis("TD", AParans))});
}

std::string TRepoP::GetSqlP200(const TnParansBlocoP& AParans) {
  return "SELECT D.CODIGOIMPOSTO, D.VARIACAOIMPOSTO, SUM(D.VALORDEBITO) VALORDEBITO FROM DEBITOFEDERAL D "
         "WHERE D.CODIGOEMPRESA = :CODIGOEMPRESA AND D.DATALCTOCTR BETWEEN :DATAINICIAL AND :DATAFINAL "
         "AND D.CHAVEORIGEM = 'FI-CONTRIBPREV'" +
         GetFiltroEstab(AParans, "D.CODIGOESTAB") + " GROUP BY D.CODIGOIMPOSTO, D.VARIACAOIMPOSTO";
}

std::string TRepoP::GetSqlP210(const TnParansBlocoP& AParans) {
  return "SELECT A.DATALCTOFIS, A.CODIGOOPERACAOFIS, A.INDAJUSTE, A.VLRAJUSTE, A.CODIGOAJUSTE, A.DATAREFERENCIA, "
         "A.NUMPROCESSO, A.DESCAJUSTE FROM contpatronalajuste A WHERE A.CODIGOEMPRESA = :CODIGOEMPRESA "
         "AND A.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL" +
         GetFiltroEstab(AParans, "A.CODIGOESTAB") + " ORDER BY A.DATALCTOFIS, A.CODIGOOPERACAOFIS";
}

std::string TRepoP::GetSqlDebitosP200(const TnParansBlocoP& AParans) {
  return "SELECT T.CODIGOOPERACAOFIS, SUM(T.VALORTOTAL2) VALOR FROM TOTALCONTPATRONALDET T "
         "JOIN CFOPIMPOSTOCONTPATRONAL C ON C.CODIGOEMPRESA = T.CODIGOEMPRESA AND C.CODIGOESTAB = T.CODIGOESTAB "
         "AND C.CODIGOCFOP = T.CODIGOCFOP "
         "WHERE T.CODIGOEMPRESA = :CODIGOEMPRESA AND T.DATATOTAL BETWEEN :DATAINICIAL AND :DATAFINAL "
         "AND C.CODIGOIMPOSTO = :CODIGOIMPOSTO AND C.VARIACAOIMPOSTO = :VARIACAOIMPOSTO" +
         GetFiltroEstab(AParans, "T.CODIGOESTAB") + " GROUP BY T.CODIGOOPERACAOFIS";
}

std::string TRepoP::GetSqlAjustesP200(const TnParansBlocoP& AParans) {
  return "SELECT A.CODIGOOPERACAOFIS, SUM(CASE WHEN A.INDAJUSTE = '1' THEN A.VLRAJUSTE ELSE -A.VLRAJUSTE END) VALOR "
         "FROM CONTPATRONALAJUSTE A WHERE A.CODIGOEMPRESA = :CODIGOEMPRESA "
         "AND A.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL" +
         GetFiltroEstab(AParans, "A.CODIGOESTAB") + " GROUP BY A.CODIGOOPERACAOFIS";
}

std::string TRepoP::GetSqlTotRec(const TnParansBlocoP& AParans, bool ARegimeCaixa) {
  std::string s =
      "SELECT I.CODIGOESTAB, 'INSS' ORIGEM, SUM(I.VALORRECEITA) VALORRECEITA FROM INSSRECEITA I "
      "WHERE I.CODIGOEMPRESA = :CODIGOEMPRESA AND I.COMPETENCIA BETWEEN :DATAINICIAL AND :DATAFINAL" +
      GetFiltroEstab(AParans, "I.CODIGOESTAB") + " GROUP BY I.CODIGOESTAB ";
  s += "UNION ALL SELECT LPC.CODIGOESTAB, 'PISCOFINS' ORIGEM, SUM(LPC.RECEITAPISCOFINS) VALORRECEITA "
       "FROM LCTOFISSAIPISCOFINS LPC WHERE LPC.CODIGOEMPRESA = :CODIGOEMPRESA "
       "AND LPC.DATALCTOFIS BETWEEN :DATAINICIAL AND :DATAFINAL" +
       GetFiltroEstab(AParans, "LPC.CODIGOESTAB") +
       " AND LPC.ALIQPIS > 0 AND LPC.TIPODEBITO <> '4.3.05.00' "
       "AND NOT EXISTS (SELECT 1 FROM LCTOFISTMP TMP WHERE TMP.CODIGOEMPRESA = LPC.CODIGOEMPRESA "
       "AND TMP.CHAVELCTOFISSAI = LPC.CHAVELCTOFISSAI AND TMP.CODIGOPRODUTO = LPC.CODIGOPRODUTO "
       "AND TMP.SEQ = LPC.SEQ) GROUP BY LPC.CODIGOESTAB ";
  // Receita isenta: pela data do recebimento no regime de caixa (parte recebida do título).
  const std::string data = ARegimeCaixa ? "DPP.DATAPGTO" : "LPC.DATALCTOFIS";
  s += "UNION ALL SELECT LPC.CODIGOESTAB, 'ISENTA' ORIGEM, ";
  s += ARegimeCaixa ? "SUM(LPC.RECEITAPISCOFINS * (DPP.VALORPAGO + DPP.VALORDESCONTO) / DS.VALORDUPLICATA) "
                    : "SUM(LPC.RECEITAPISCOFINS) ";
  s += "VALORRECEITA FROM LCTOFISSAIPISCOFINS LPC ";
  if (ARegimeCaixa)
    s += "JOIN DUPLICATASAI DS ON DS.CODIGOEMPRESA = LPC.CODIGOEMPRESA AND DS.CHAVELCTOFISSAI = LPC.CHAVELCTOFISSAI "
         "JOIN DUPLICATASAIPGTO DPP ON DPP.CODIGOEMPRESA = DS.CODIGOEMPRESA AND DPP.CODIGOESTAB = DS.CODIGOESTAB "
         "AND DPP.CHAVEDUPLICATASAI = DS.CHAVEDUPLICATASAI ";
  s += "WHERE LPC.CODIGOEMPRESA = :CODIGOEMPRESA AND " + data + " BETWEEN :DATAINICIAL AND :DATAFINAL" +
       GetFiltroEstab(AParans, "LPC.CODIGOESTAB") + " AND LPC.VALORPIS = 0 AND LPC.CDSITUATRIBUTPIS IN (" +
       GetFiltroCSTM400_M800(AParans) + ") GROUP BY LPC.CODIGOESTAB";
  return s;
}

void TRepoP::CarregarDados(std::unique_ptr<TDataSet>& ADataSet, const TnParansBlocoP& AParans, const std::string& ASQL,
                          const TParams& AValores) {
  if (ADataSet) {
    if (!AParans.AgruparFiliais) {
      Nutildb::RefreshSQL(*ADataSet, AValores, true);
      return;
    }
    Nutildb::DestruirSQL(ADataSet);
  }
  ADataSet = Nutildb::ExecutarSQL(ASQL, AValores, true, true, -1, "", nullptr, true);
}

void TRepoP::CarregarDadosP100(std::unique_ptr<TDataSet>& ADataSet, const TnParansBlocoP& AParans) {
  CarregarDados(ADataSet, AParans, GetSqlP100(AParans), GetParamsEstabData(AParans));
}

void TRepoP::CarregarDadosP210(std::unique_ptr<TDataSet>& ADataSet, const TnParansBlocoP& AParans) {
  CarregarDados(ADataSet, AParans, GetSqlP210(AParans), GetParamsEstabData(AParans));
}

void TRepoP::CarregarTotalReceita(std::unique_ptr<TDataSet>& ADataSet, const TnParansBlocoP& AParans,
                                 bool ARegimeCaixa) {
  CarregarDados(ADataSet, AParans, GetSqlTotRec(AParans, ARegimeCaixa), GetParamsEstabData(AParans));
}

void TRepoP::CarregarDadosP200(std::unique_ptr<TDataSet>& ADataSet, const TnParansBlocoP& AParans) {
  if (AParans.DataFinal < EncodeDate(2013, 1, 1)) {
    CarregarDados(ADataSet, AParans, GetSqlP200(AParans), GetParamsEstabData(AParans));
    return;
  }
  // A partir de 2013 os débitos saem dos totais por código de receita de cada grupo de atividade.
  Nutildb::DestruirSQL(ADataSet);
  auto cds = std::make_unique<TnClientDataSet>();
  cds->AddFieldDef("CODIGOIMPOSTO", TFieldType::ftInteger);
  cds->AddFieldDef("VARIACAOIMPOSTO", TFieldType::ftInteger);
  cds->AddFieldDef("VALORDEBITO", TFieldType::ftFloat);
  cds->CreateDataSet();
  cds->SetIndexFieldNames("CODIGOIMPOSTO;VARIACAOIMPOSTO");
  auto& controle = ControleContribPatronal();
  controle.SetCodigoEmpresa(AParans.CodigoEmpresa);
  controle.SetData(AParans.DataFinal);
  CarregarDebitosP200(*cds, AParans, controle.GetCodigoImpostoTIC(), controle.GetVariacaoImpostoTIC());
  CarregarDebitosP200(*cds, AParans, controle.GetCodigoImpostoOUTROS(), controle.GetVariacaoImpostoOUTROS());
  CarregarDebitosP200(*cds, AParans, controle.GetCodigoImpostoComercio(), controle.GetVariacaoImpostoComercio());
  cds->First();
  ADataSet = std::move(cds);
}

void TRepoP::CarregarDebitosP200(TnClientDataSet& ADataSet, const TnParansBlocoP& AParans, int ACodigoImposto,
                                int AVariacaoImposto) {
  TParams valores = GetParamsEstabData(AParans);
  valores.emplace_back(int64_t{ACodigoImposto});
  valores.emplace_back(int64_t{AVariacaoImposto});
  std::map<int64_t, double> porOperacao;
  {
    auto ds = Nutildb::ExecutarSQL(GetSqlDebitosP200(AParans), valores, false, true, 10);
    for (; !ds->Eof(); ds->Next())
      porOperacao[ds->FieldByName("CODIGOOPERACAOFIS").AsInteger()] += ds->FieldByName("VALOR").AsFloat();
  }
  if (porOperacao.empty()) return;
  {
    auto ds = Nutildb::ExecutarSQL(GetSqlAjustesP200(AParans), GetParamsEstabData(AParans), false, true, 10);
    for (; !ds->Eof(); ds->Next()) {
      auto it = porOperacao.find(ds->FieldByName("CODIGOOPERACAOFIS").AsInteger());
      if (it != porOperacao.end()) it->second += ds->FieldByName("VALOR").AsFloat();
    }
  }
  double total = 0;
  for (const auto& [op, v] : porOperacao) total += v;
  const TParams chave{TVariant{int64_t{ACodigoImposto}}, TVariant{int64_t{AVariacaoImposto}}};
  if (ADataSet.FindKey(chave)) {
    ADataSet.Edit();
    ADataSet.FieldByName("VALORDEBITO").SetValue(ADataSet.FieldByName("VALORDEBITO").AsFloat() + total);
  } else {
    ADataSet.Append();
    ADataSet.FieldByName("CODIGOIMPOSTO").SetValue(int64_t{ACodigoImposto});
    ADataSet.FieldByName("VARIACAOIMPOSTO").SetValue(int64_t{AVariacaoImposto});
    ADataSet.FieldByName("VALORDEBITO").SetValue(total);
  }
  ADataSet.Post();
}
