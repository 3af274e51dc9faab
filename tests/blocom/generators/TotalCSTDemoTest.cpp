// Totais por CST sobre a demonstração: para cada empresa e cada fonte, o dataset de totais é
// igual ao que uma conferência independente soma das tabelas (por estabelecimento, imposto,
// CST, código, CFOP e conta), ao centavo, nos dois bancos. As saídas e o regime de caixa são
// somados aqui linha a linha, com o arredondamento de cada linha feito em C++.
#include <fmt/format.h>
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <map>
#include <set>
#include <tuple>

#include "base/Nutil.h"
#include "blocom/generators/nFisEFDGeradorTotalCST_U.h"
#include "db/Demo.h"
#include "fixtures/Bancos.h"
#include "host/LctoFisTmp.h"
#include "host/Servicos.h"

namespace {

using TChave = std::tuple<std::string, int, int, int, std::string, int, int, std::string>;
struct TValores {
  double V = 0, B = 0, C = 0;
};
using TMapa = std::map<TChave, TValores>;

struct TCaso {
  int Empresa;
  std::string Estab;
  bool Credito, Debito, Caixa;
  TReceitas Receitas;
  int Dacon;  // -1 pela opção da EFD (GerarTotais); 0/1 força o caminho
  std::string Nome;
};

struct TImposto {
  int Codigo;
  const char *Cst, *Aliq, *TipoCred, *TipoDeb, *Valor, *CstF100, *CredF100, *DebF100, *Suf;
};
const TImposto kImpostos[] = {
    {15, "CDSITUATRIBUTPIS", "ALIQPIS", "TIPOCREDITOPIS", "TIPODEBITOPIS", "VALORPIS", "CST", "TIPOCREDITO", "TIPODEBITO",
     "PIS"},
    {16, "CDSITUATRIBUTCOFINS", "ALIQCOFINS", "TIPOCREDITO", "TIPODEBITO", "VALORCOFINS", "CSTCOFINS",
     "TIPOCREDITOCOFINS", "TIPODEBITOCOFINS", "COFINS"}};

class TotalCSTDemo : public TBancoTeste {
 protected:
  void SetUp() override {
    TBancoTeste::SetUp();
    if (HasFatalFailure() || IsSkipped()) return;
    TConfigDemo demo;
    demo.Linhas = 360;
    GerarBancoDemo(Banco(), demo);
    Inicio = EncodeDate(2024, 1, 1);
    Fim = EncodeDate(2024, 1, 31);
  }

  TParams P(int AEmpresa) const { return {TVariant(int64_t{AEmpresa}), VarDate(Inicio), VarDate(Fim)}; }
  std::string Estab(const std::string& AColuna) const {
    return FCaso->Estab.empty() ? "" : " AND " + AColuna + " = " + FCaso->Estab;
  }

  // Soma as linhas de uma consulta de conferência: ESTAB, CST, CODIGO, CFOP, CONTA, V, B, C.
  void Somar(TMapa& AMapa, const char* AOrigem, int ATipo, int AImposto, const std::string& ASQL) {
    auto ds = Banco().Abrir(ASQL, P(FCaso->Empresa));
    for (; !ds->Eof(); ds->Next()) {
      auto txt = [&](int i) { return ds->Fields(i).IsNull() ? std::string() : ds->Fields(i).AsString(); };
      auto num = [&](int i) { return ds->Fields(i).IsNull() ? 0.0 : ds->Fields(i).AsFloat(); };
      auto& v = AMapa[{AOrigem, static_cast<int>(ds->Fields(0).AsInteger()), AImposto,
                       static_cast<int>(ds->Fields(1).AsInteger()), txt(2), ATipo,
                       static_cast<int>(ds->Fields(3).IsNull() ? 0 : ds->Fields(3).AsInteger()), txt(4)}];
      v.V += num(5), v.B += num(6), v.C += num(7);
    }
  }

  bool NaLista(int ACst) const {
    return (", " + Lista() + ",").find(fmt::format(", {:02d},", ACst)) != std::string::npos;
  }
  std::string Lista() const {
    TnFisEFDGeradorTotalCST t;
    t.FReceitas = FCaso->Receitas;
    t.FDataInicial = Inicio;
    return t.GetFiltroCSTReceita();
  }

  // Data a partir da qual os pagamentos contam no regime de caixa (0: todos): a opção da EFD
  // em vigor, quando a anterior a ela não era de caixa.
  TDateTime InicioPagamentos() {
    auto ds = Banco().Abrir("SELECT DATAEFD, REGIMEAPU FROM OPCAOEFD WHERE CODIGOEMPRESA = :E AND DATAEFD <= :I "
                            "ORDER BY DATAEFD",
                            {TVariant(int64_t{FCaso->Empresa}), VarDate(Inicio)});
    std::vector<std::pair<TDateTime, int>> ops;
    for (; !ds->Eof(); ds->Next()) ops.push_back({ds->Fields(0).AsDateTime(), static_cast<int>(ds->Fields(1).AsInteger())});
    if (ops.empty()) return 0;
    const bool anteriorDeCaixa = ops.size() > 1 && ops[ops.size() - 2].second == 1;
    return anteriorDeCaixa ? 0 : ops.back().first;
  }

  // Saídas dos lançamentos, linha a linha.
  void SomarSaidas(TMapa& AMapa) {
    const bool caixa = FCaso->Caixa;
    std::string sql =
        "SELECT " + std::string(caixa ? "L.CODIGOESTAB" : "COALESCE(S.CODIGOESTABSCP, L.CODIGOESTAB)") +
        ", L.CDSITUATRIBUTPIS, L.CDSITUATRIBUTCOFINS, L.TIPODEBITOPIS, L.TIPODEBITO, L.CODIGOCFOP, L.CONTACTBEFD,"
        " L.RECEITAPISCOFINS, L.BASECALCULOPISCOFINS, L.QUANTIDADE, L.ALIQPIS, L.ALIQCOFINS" +
        std::string(caixa ? ", G.VALORPAGO, G.VALORDESCONTO, (SELECT SUM(X.VALORPARCELA) FROM DUPLICATASAIPARCELA X"
                            " WHERE X.CODIGOEMPRESA = G.CODIGOEMPRESA AND X.CODIGOESTAB = G.CODIGOESTAB"
                            " AND X.CHAVEDUPLICATASAI = G.CHAVEDUPLICATASAI), G.DATALCTOFIS"
                          : "") +
        " FROM LCTOFISSAIPISCOFINS L JOIN LCTOFISSAI S ON S.CODIGOEMPRESA = L.CODIGOEMPRESA"
        " AND S.CHAVELCTOFISSAI = L.CHAVELCTOFISSAI" +
        std::string(caixa ? " JOIN DUPLICATASAI U ON U.CODIGOEMPRESA = S.CODIGOEMPRESA AND U.CHAVELCTOFISSAI = "
                            "S.CHAVELCTOFISSAI JOIN DUPLICATASAIPGTO G ON G.CODIGOEMPRESA = U.CODIGOEMPRESA AND "
                            "G.CODIGOESTAB = U.CODIGOESTAB AND G.CHAVEDUPLICATASAI = U.CHAVEDUPLICATASAI"
                          : "") +
        " WHERE L.CODIGOEMPRESA = :E AND " + (caixa ? "G.DATAPGTO" : "S.DATALCTOFIS") +
        " BETWEEN :I AND :F"
        " AND EXISTS (SELECT 1 FROM PRODUTO P WHERE P.CODIGOEMPRESA = L.CODIGOEMPRESA"
        " AND P.CODIGOPRODUTO = L.CODIGOPRODUTO)"
        " AND NOT EXISTS (SELECT 1 FROM LCTOFISTMP T WHERE T.CODIGOEMPRESA = L.CODIGOEMPRESA"
        " AND T.CHAVELCTOFISSAI = L.CHAVELCTOFISSAI AND T.CODIGOPRODUTO = L.CODIGOPRODUTO AND T.SEQ = L.SEQ)" +
        (FCaso->Estab.empty() ? ""
         : caixa              ? " AND G.CODIGOESTAB = " + FCaso->Estab
                              : " AND COALESCE(S.CODIGOESTABSCP, S.CODIGOESTAB) = " + FCaso->Estab);
    const TDateTime desde = caixa ? InicioPagamentos() : 0;
    auto ds = Banco().Abrir(sql, P(FCaso->Empresa));
    for (; !ds->Eof(); ds->Next()) {
      auto num = [&](int i) { return ds->Fields(i).IsNull() ? 0.0 : ds->Fields(i).AsFloat(); };
      auto txt = [&](int i) { return ds->Fields(i).IsNull() ? std::string() : ds->Fields(i).AsString(); };
      if (txt(4).empty() || txt(4) == "4.3.05.00") continue;
      double rec = num(7), base = num(8), qtd = num(9);
      if (caixa) {
        if (desde > 0 && ds->Fields(15).AsDateTime() < desde) continue;
        const double fator = Nutil::RoundValor(Nutil::Dividir(num(12) + num(13), num(14)), 7);
        rec = Nutil::RoundValor(rec * fator, 2);
        base = Nutil::RoundValor(base * fator, 2);
        qtd = Nutil::RoundValor(qtd * fator, 4);
      }
      for (int i = 0; i < 2; ++i) {
        const int cst = static_cast<int>(ds->Fields(1 + i).AsInteger());
        if (!NaLista(cst)) continue;
        const double aliq = num(10 + i);
        const double contrib = qtd > 0 ? Nutil::RoundValor(qtd * aliq, 2) : Nutil::RoundValor(base * aliq / 100, 2);
        auto& v = AMapa[{"B", static_cast<int>(ds->Fields(0).AsInteger()), kImpostos[i].Codigo, cst, txt(3 + i),
                         tplSaida, static_cast<int>(ds->Fields(5).AsInteger()), txt(6)}];
        v.V += rec, v.B += base, v.C += contrib;
      }
    }
  }

  void SomarBens(TMapa& AMapa) {
    auto ds = Banco().Abrir(
        "SELECT C.CODIGOESTAB, G.TIPODACONCREDITO, C.CSTPIS, C.CSTCOFINS, C.QUOTAMENSAL, C.CREDITOPIS, C.CREDITOCOFINS"
        " FROM PATCREDITODACON C JOIN PATCFGDACON G ON G.CODIGOEMPRESA = C.CODIGOEMPRESA AND G.NUMEROBEM = C.NUMEROBEM"
        " WHERE C.CODIGOEMPRESA = :E AND C.PERIODO BETWEEN :I AND :F" + Estab("C.CODIGOESTAB"),
        P(FCaso->Empresa));
    auto semCredito = [](int c) { return (c >= 70 && c <= 75) || c == 98 || c == 99; };
    for (; !ds->Eof(); ds->Next()) {
      const int pis = static_cast<int>(ds->Fields(2).AsInteger()), cof = static_cast<int>(ds->Fields(3).AsInteger());
      if (semCredito(pis) || semCredito(cof)) continue;
      const int tipo = static_cast<int>(ds->Fields(1).AsInteger());
      const std::string cod = tipo == 6 ? "4.3.07.09" : tipo == 7 ? "4.3.07.11" : "4.3.07.10";
      for (int i = 0; i < 2; ++i) {
        auto& v = AMapa[{"A", static_cast<int>(ds->Fields(0).AsInteger()), kImpostos[i].Codigo, i ? cof : pis, cod,
                         tplCreditosPAT, 0, ""}];
        v.V += ds->Fields(4).AsFloat(), v.B += ds->Fields(4).AsFloat(), v.C += ds->Fields(5 + i).AsFloat();
      }
    }
  }

  void SomarEstoque(TMapa& AMapa, bool ADacon) {
    for (const auto& im : kImpostos) {
      auto ds = Banco().Abrir(std::string("SELECT L.CODIGOESTAB, L.CST") + im.Suf + ", SUM(L.VLRTOTEST), SUM(L.VLRBCMENEST),"
                                  " SUM(L.VLRCRED" + im.Suf + ") FROM " +
                                  (ADacon ? "LUCROREALCREDPRESESTOQABERT" : "EFDCREDPRESESTOQABERT") +
                                  " L WHERE L.CODIGOEMPRESA = :E AND L.DATALCTOFIS BETWEEN :I AND :F" +
                                  Estab("L.CODIGOESTAB") + " GROUP BY L.CODIGOESTAB, L.CST" + im.Suf,
                              P(FCaso->Empresa));
      for (; !ds->Eof(); ds->Next()) {
        auto& v = AMapa[{"A", static_cast<int>(ds->Fields(0).AsInteger()), im.Codigo,
                         static_cast<int>(ds->Fields(1).AsInteger()), "4.3.07.18", tplEstoqueAbertura, 0, ""}];
        v.V += ds->Fields(2).AsFloat(), v.B += ds->Fields(3).AsFloat();
        // A EFD guarda o crédito do estoque inteiro: o mês apropria 1/12.
        v.C += ADacon ? ds->Fields(4).AsFloat() : Nutil::RoundValor(ds->Fields(4).AsFloat() / 12, 2);
      }
    }
  }

  // Exclusões: cada uma reduz a primeira saída (na ordem da chave) do estabelecimento,
  // imposto e CST.
  int AplicarExclusoes(TMapa& AMapa, const std::string& ATabela) {
    int linhas = 0;
    for (const auto& im : kImpostos) {
      auto ds = Banco().Abrir("SELECT E.CODIGOESTAB, E.CSTDET, E." + std::string(im.Aliq) + ", SUM(E.VALORDET) FROM " +
                                  ATabela + " E WHERE E.CODIGOEMPRESA = :E AND E.DATALCTOFIS BETWEEN :I AND :F" +
                                  Estab("E.CODIGOESTAB") + " GROUP BY E.CODIGOESTAB, E.CSTDET, E." + im.Aliq,
                              P(FCaso->Empresa));
      for (; !ds->Eof(); ds->Next(), ++linhas) {
        const int estab = static_cast<int>(ds->Fields(0).AsInteger()), cst = static_cast<int>(ds->Fields(1).AsInteger());
        auto it = AMapa.lower_bound({"B", estab, im.Codigo, cst, "", INT_MIN, INT_MIN, ""});
        if (it == AMapa.end() || std::get<0>(it->first) != "B" || std::get<1>(it->first) != estab ||
            std::get<2>(it->first) != im.Codigo || std::get<3>(it->first) != cst)
          continue;
        const double valor = ds->Fields(3).AsFloat();
        it->second.B -= valor;
        it->second.C -= Nutil::RoundValor(valor * ds->Fields(2).AsFloat() / 100, 2);
      }
    }
    return linhas;
  }

  std::string TabelaExclusao(bool ADacon) {
    if (!ADacon) return "EFDDEDUCAOEXCLUSAO";
    auto ds = Banco().Abrir("SELECT COUNT(*) FROM OPCAOLUCROREAL WHERE CODIGOEMPRESA = :E AND DATAOPCAO <= :F",
                            {TVariant(int64_t{FCaso->Empresa}), VarDate(Fim)});
    return ds->Fields(0).AsInteger() > 0 ? "LUCROREALDEDUCAOEXCLUSAO" : "LUCROPRESDEDUCAOEXCLUSAO";
  }

  TMapa Esperado(bool ADacon) {
    TMapa m;
    const TCaso& c = *FCaso;
    const std::string E = " WHERE X.CODIGOEMPRESA = :E", periodo = " AND X.DATALCTOFIS BETWEEN :I AND :F";
    if (c.Credito) {
      for (const auto& im : kImpostos) {
        const std::string cst = std::string("X.") + im.Cst, tipo = std::string("X.") + im.TipoCred;
        Somar(m, "A", tplEntrada, im.Codigo,
              "SELECT X.CODIGOESTAB, " + cst + ", " + tipo + ", X.CODIGOCFOP, '', SUM(X.RECEITAPISCOFINS),"
              " SUM(X.BASECALCULOPISCOFINS), SUM(X." + im.Valor + ") FROM LCTOFISENTPISCOFINS X" + E + periodo +
                  Estab("X.CODIGOESTAB") + " AND " + cst + " NOT BETWEEN 70 AND 75 AND X." + im.Aliq +
                  " > 0 AND EXISTS (SELECT 1 FROM PRODUTO P WHERE P.CODIGOEMPRESA = X.CODIGOEMPRESA"
                  " AND P.CODIGOPRODUTO = X.CODIGOPRODUTO) GROUP BY X.CODIGOESTAB, " + cst + ", " + tipo +
                  ", X.CODIGOCFOP");
        const std::string cf = std::string("X.") + im.CstF100, tc = std::string("X.") + im.CredF100;
        Somar(m, "A", tplDemaisDocEntrada, im.Codigo,
              "SELECT X.CODIGOESTAB, " + cf + ", " + tc + ", 0, '', SUM(X.VALOROPER), SUM(X.BASECALCULO), SUM(X." +
                  im.Valor + ") FROM EFDF100DEMAISDOC X" + E + periodo + Estab("X.CODIGOESTAB") +
                  " AND X.INDOPER = 0 AND (" + cf + " BETWEEN 50 AND 56 OR " + cf + " BETWEEN 60 AND 67) GROUP BY "
                  "X.CODIGOESTAB, " + cf + ", " + tc);
        const std::string ti = std::string("X.TIPOCREDITO") + (im.Codigo == 15 ? "PIS" : "");
        for (const auto& [tabela, tp, v, b, cr] :
             {std::tuple{"EFDUNIDIMOBCUSTOINC", tplUnidadeImobCusIncorrido, "VLCUSINCPERESC", "VLBCCUSINC", "DESC"},
              std::tuple{"EFDUNIDIMOBCUSTOORC", tplUnidadeImobCusOrcado, "VLEXC", "VLBCCRED", "UTIL"}})
          Somar(m, "A", tp, im.Codigo,
                "SELECT X.CODIGOESTAB, X.CST" + std::string(im.Suf) + ", " + ti + ", 0, '', SUM(X." + v +
                    "), SUM(X." + b + "), SUM(X.VLCRED" + im.Suf + cr + ") FROM " + tabela + " X" + E +
                    " AND X.COMPRECEB BETWEEN :I AND :F" + Estab("X.CODIGOESTAB") + " GROUP BY X.CODIGOESTAB, X.CST" +
                    im.Suf + ", " + ti);
      }
      SomarBens(m);
      SomarEstoque(m, ADacon);
    }
    if (c.Debito) {
      SomarSaidas(m);
      // As exclusões rodam antes do imobiliário e dos demais documentos: só alcançam saídas
      // dos lançamentos.
      FExclusoes = AplicarExclusoes(m, TabelaExclusao(ADacon));
      for (const auto& im : kImpostos) {
        const std::string td = std::string("X.TIPODEBITO") + (im.Codigo == 15 ? "PIS" : "");
        Somar(m, "B", tplUnidadeImobVendida, im.Codigo,
              "SELECT X.CODIGOESTAB, X.CST" + std::string(im.Suf) + ", " + td + ", 0, '', SUM(X.VLTOTREC), "
              "SUM(X.VLBC), SUM(X.VL" + im.Suf + ") FROM EFDUNIDIMOBVENDIDA X" + E +
                  " AND X.COMPRECEB BETWEEN :I AND :F" + Estab("X.CODIGOESTAB") + " GROUP BY X.CODIGOESTAB, X.CST" +
                  im.Suf + ", " + td);
        const std::string cf = std::string("X.") + im.CstF100, tdf = std::string("X.") + im.DebF100;
        Somar(m, "B", tplDemaisDocSaida, im.Codigo,
              "SELECT X.CODIGOESTAB, " + cf + ", " + tdf + ", 0, X.CONTACTB, SUM(X.VALOROPER), SUM(X.BASECALCULO), "
              "SUM(X." + im.Valor + ") FROM EFDF100DEMAISDOC X" + E + periodo + Estab("X.CODIGOESTAB") +
                  " AND X.INDOPER IN (1, 2) AND " + cf + " IN (" + Lista() + ") GROUP BY X.CODIGOESTAB, " + cf + ", " +
                  tdf + ", X.CONTACTB");
      }
    }
    return m;
  }

  static TMapa Obtido(TnFisEFDGeradorTotalCST& t) {
    TMapa m;
    auto& r = t.FMapTotal;
    for (t.FcurTotalMov->First(); !t.FcurTotalMov->Eof(); t.FcurTotalMov->Next()) {
      // Linhas de mesma chave têm de vir somadas numa só: a exclusão abate a primeira.
      const TChave k{r.Origem.AsString(), static_cast<int>(r.CodigoEstab.AsInteger()),
                   static_cast<int>(r.TipoImposto.AsInteger()), static_cast<int>(r.CST.AsInteger()),
                   r.CodigoTabSPED.AsString(), static_cast<int>(r.TipoLcto.AsInteger()),
                   static_cast<int>(r.CodigoCFOP.AsInteger()), r.ContaCtb.AsString()};
      if (m.count(k)) ADD_FAILURE() << "chave repetida no total: " << Texto(k);
      auto& v = m[k];
      v.V += r.ValorTotal.AsFloat(), v.B += r.BaseCalculo.AsFloat(), v.C += r.ValorContrib.AsFloat();
    }
    t.FcurTotalMov->First();
    return m;
  }

  static std::string Texto(const TChave& k) {
    return fmt::format("{}|estab {}|imp {}|CST {}|{}|tipo {}|CFOP {}|{}", std::get<0>(k), std::get<1>(k),
                       std::get<2>(k), std::get<3>(k), std::get<4>(k), std::get<5>(k), std::get<6>(k), std::get<7>(k));
  }

  TDateTime Inicio = 0, Fim = 0;
  const TCaso* FCaso = nullptr;
  int FExclusoes = 0;
};

// Fontes que a demonstração precisa alimentar em pelo menos uma empresa.
enum TFonteVista { fvExclusaoEFD = 100, fvExclusaoLucroReal, fvExclusaoPresumido, fvCaixa, fvSCP, fvEstoqueDacon };

TEST_P(TotalCSTDemo, TotaisIguaisAConferenciaIndependentePorFonteEEmpresa) {
  const std::vector<TCaso> casos = {
      {1, "", true, true, false, {rTributadas}, -1, "empresa 1, M105 + M210"},
      {1, "", false, true, false, {rIsentas}, -1, "empresa 1, isentas (M410)"},
      {1, "", false, true, true, {rTributadas, rIsentas}, -1, "empresa 1, regime de caixa"},
      {1, "", true, true, false, {rTributadas}, 1, "empresa 1 pelo caminho DACON (lucro real)"},
      {1, "3", true, true, false, {rTributadas}, 0, "empresa 1, SCP 3"},
      {1, "1", true, true, true, {rTributadas}, 0, "empresa 1, matriz no regime de caixa"},
      {2, "", true, true, false, {rTributadas}, -1, "empresa 2 (presumido, DACON)"},
      {2, "", false, true, true, {rTributadas, rIsentas}, -1, "empresa 2, regime de caixa"},
      {3, "", true, true, false, {rTributadas}, -1, "empresa 3, M105 + M210"},
      {3, "", false, true, true, {rIsentas}, -1, "empresa 3, regime de caixa, isentas"},
  };
  std::set<int> vistas;
  for (const auto& c : casos) {
    SCOPED_TRACE(c.Nome);
    FCaso = &c;
    FExclusoes = 0;
    THost::Atual().Servicos().LimparCaches();
    TnGuardaTempDevolucao devolucoes(c.Empresa, c.Estab, Inicio, Fim, c.Caixa);
    TnFisEFDGeradorTotalCST t;
    t.FCodigoEmpresa = c.Empresa;
    t.FCodigoEstab = c.Estab;
    t.FDataInicial = Inicio;
    t.FDataFinal = Fim;
    t.FProcessarCredito = c.Credito;
    t.FProcessarDebito = c.Debito;
    t.FRegimeCaixa = c.Caixa;
    t.FReceitas = c.Receitas;
    t.FModoApuracao = true;
    if (c.Dacon < 0) {
      t.GerarTotais();
    } else {
      t.OptanteEFD();
      t.GerarTotaisLcto(c.Dacon == 1);
    }
    const TMapa obtido = Obtido(t), esperado = Esperado(t.FDacon);
    for (const auto& [k, v] : esperado) {
      if (std::fabs(v.V) < 0.005 && std::fabs(v.B) < 0.005 && std::fabs(v.C) < 0.005 && !obtido.count(k)) continue;
      auto it = obtido.find(k);
      if (it == obtido.end()) {
        ADD_FAILURE() << "falta no total: " << Texto(k) << " = " << v.V << " / " << v.B << " / " << v.C;
        continue;
      }
      EXPECT_NEAR(it->second.V, v.V, 0.005) << Texto(k);
      EXPECT_NEAR(it->second.B, v.B, 0.005) << Texto(k);
      EXPECT_NEAR(it->second.C, v.C, 0.005) << Texto(k);
    }
    for (const auto& [k, v] : obtido)
      if (!esperado.count(k)) ADD_FAILURE() << "sobra no total: " << Texto(k) << " = " << v.V;
    for (const auto& [k, v] : obtido) vistas.insert(std::get<5>(k));
    if (FExclusoes > 0) vistas.insert(t.FDacon ? (t.GetTabelaDeducaoExclusao() == "LUCROREALDEDUCAOEXCLUSAO"
                                                      ? fvExclusaoLucroReal
                                                      : fvExclusaoPresumido)
                                               : fvExclusaoEFD);
    if (c.Caixa && !t.FcurSaidaLcto->IsEmpty()) vistas.insert(fvCaixa);
    if (c.Estab == "3" && !t.FcurSaidaLcto->IsEmpty()) vistas.insert(fvSCP);
    if (t.FDacon && t.FcurEntEstoqAbert && !t.FcurEntEstoqAbert->IsEmpty()) vistas.insert(fvEstoqueDacon);
  }
  for (int f : {int{tplEntrada}, int{tplSaida}, int{tplEstoqueAbertura}, int{tplCreditosPAT}, int{tplUnidadeImobVendida},
                int{tplUnidadeImobCusIncorrido}, int{tplUnidadeImobCusOrcado}, int{tplDemaisDocEntrada},
                int{tplDemaisDocSaida}, int{fvExclusaoEFD}, int{fvExclusaoLucroReal}, int{fvExclusaoPresumido},
                int{fvCaixa}, int{fvSCP}, int{fvEstoqueDacon}})
    EXPECT_TRUE(vistas.count(f)) << "fonte sem linhas na demonstração: " << f;
}

PISCO_INSTANCIAR_BANCOS(TotalCSTDemo);

}  // namespace
