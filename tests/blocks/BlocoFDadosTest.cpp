// Bloco F sobre linhas mínimas (SQLite e PostgreSQL): cada caso monta o dado que separa a
// consulta certa da errada e confere os campos da linha, não só a contagem.
#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <string>

#include "blocks/BlocosTeste.h"
#include "blocks/CatalogoBlocos.h"
#include "fixtures/Servicos.h"
#include "host/Nutildb.h"

namespace {

using RF = TnArqRepositorioSPEDPisCofinsBlocoF;

class BlocoFDados : public TBlocosBancoTeste {
 protected:
  void SetUp() override {
    TBlocosBancoTeste::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    for (int estab : {1, 2})
      Linha("ESTAB").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", estab).T("SIGLAESTADO", "SP")
          .T("SOCIEDADECONTAPARTICIPACAO", "0").Gravar();
    Linha("PESSOA").I("CODIGOPESSOA", 11).I("TIPOINSCR", 1).T("INSCRFEDERAL", "11222333000181").Gravar();
    Linha("PRODUTO").I("CODIGOEMPRESA", 1).I("CODIGOPRODUTO", 1).T("REFERENPRODUTO", "P1").Gravar();
  }

  TLinhaTabela Linha(const std::string& ATabela) { return TLinhaTabela(Banco(), ATabela); }

  static TnParansBlocoF Parans(int AMov, const std::string& AEstab = "") {
    return TnParansBlocoF{1, AEstab, EncodeDate(2024, 1, 1), EncodeDate(2024, 1, 31), false,
                          static_cast<int16_t>(AMov), false};
  }

  // Todas as linhas da consulta, cada uma como campo -> texto.
  std::vector<std::map<std::string, std::string>> Linhas(const std::string& ASQL, const TParams& AValores) {
    auto ds = Nutildb::ExecutarSQL(ASQL, AValores);
    std::vector<std::map<std::string, std::string>> r;
    for (; !ds->Eof(); ds->Next()) {
      auto& l = r.emplace_back();
      for (int i = 0; i < ds->FieldCount(); ++i) {
        std::string nome = ds->Fields(i).FieldName();  // o PostgreSQL devolve em minúsculas
        for (char& c : nome) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        l[nome] = ds->Fields(i).AsString();
      }
    }
    return r;
  }
  static double N(const std::string& s) { return s.empty() ? 0 : std::stod(s); }

  // Saída de modelo 55 com uma linha de PIS/COFINS por item: {seq, CST, tipo de débito, qtd, receita}.
  struct TItem {
    int Seq, CST;
    std::string TipoDebito;
    double Quantidade, Receita, Pis;
  };
  void Saida(int AChave, const std::vector<TItem>& AItens) {
    Linha("LCTOFISSAI").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", 1).I("CHAVELCTOFISSAI", AChave)
        .D("DATALCTOFIS", "2024-01-05").I("CODIGOPESSOA", 11).I("NUMERONF", AChave).T("CDMODELO", "55").Gravar();
    for (const auto& i : AItens)
      Linha("LCTOFISSAIPISCOFINS").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", 1).I("CHAVELCTOFISSAI", AChave)
          .I("CODIGOPRODUTO", 1).I("SEQ", i.Seq).D("DATALCTOFIS", "2024-01-05").I("CODIGOCFOP", 5102)
          .I("CDSITUATRIBUTPIS", i.CST).I("CDSITUATRIBUTCOFINS", i.CST).V("ALIQPIS", 0.65).V("ALIQCOFINS", 3)
          .V("QUANTIDADE", i.Quantidade).V("RECEITAPISCOFINS", i.Receita).V("BASECALCULOPISCOFINS", i.Receita)
          .V("VALORPIS", i.Pis).V("VALORCOFINS", i.Pis * 4).T("TIPODEBITO", i.TipoDebito)
          .T("TIPODEBITOPIS", i.TipoDebito).T("CONTACTBEFD", "3.1.1").Gravar();
  }
  // Duplicata do documento com uma parcela e um pagamento no período.
  void Duplicata(int AChave, double AParcela, double APago) {
    Linha("DUPLICATASAI").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", 1).I("CHAVEDUPLICATASAI", AChave)
        .I("CHAVELCTOFISSAI", AChave).I("CODIGOPESSOA", 11).I("CODIGOINDTITULO", 1).D("DATAEMISSAO", "2024-01-05")
        .V("VALORDUPLICATA", AParcela).Gravar();
    Linha("DUPLICATASAIPARCELA").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", 1).I("CHAVEDUPLICATASAI", AChave)
        .I("SEQPARCELA", 1).D("DATAVENCIMENTO", "2024-01-20").V("VALORPARCELA", AParcela).Gravar();
    Linha("DUPLICATASAIPGTO").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", 1).I("CHAVEDUPLICATASAI", AChave).I("SEQ", 1)
        .I("SEQPARCELA", 1).D("DATAPGTO", "2024-01-20").V("VALORPAGO", APago).V("VALORDESCONTO", 0).Gravar();
  }
  // Bem do ativo com crédito no mês, do tipo de crédito dado (1 = F120, 9 = F130).
  void Bem(int ABem, int ATipo) {
    Linha("PATBEM").I("CODIGOEMPRESA", 1).I("NUMEROBEM", ABem).I("CODIGOESTAB", 1).T("DESCRICAOBEM", "TORNO")
        .I("ORIGEMBEM", 0).D("DATAAQUISICAO", "2023-01-01").V("VALORAQUISICAO", 4800).I("INDUTILBEM", 1).Gravar();
    Linha("PATCFGDACON").I("CODIGOEMPRESA", 1).I("NUMEROBEM", ABem).D("DATAINICIAL", "2023-01-01")
        .I("TIPODACONCREDITO", ATipo).T("TIPOCREDITO", "4.3.07.10").I("CSTPIS", 50).I("CSTCOFINS", 50)
        .V("ALIQPIS", 1.65).V("ALIQCOFINS", 7.6).I("NUMEROPARCELAS", 48).Gravar();
    Linha("PATCREDITODACON").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", 1).I("NUMEROBEM", ABem)
        .D("PERIODO", "2024-01-01").I("CSTPIS", 50).I("CSTCOFINS", 50).V("ALIQPIS", 1.65).V("ALIQCOFINS", 7.6)
        .V("QUOTAMENSAL", 100).V("VLRBCCREDITO", 100).V("CREDITOPIS", 1.65).V("CREDITOCOFINS", 7.6).Gravar();
  }
  void ContaDoBem(int AEstab, int ABem, const std::string& ADesde, const std::string& AConta) {
    Linha("PATBEMCONTACONTABIL").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", AEstab).I("NUMEROBEM", ABem)
        .D("DATAINICIAL", ADesde).T("CODIGOCENTROCUSTO", "CC" + std::to_string(AEstab)).T("CONTACTB", AConta)
        .Gravar();
  }
};

// F100: dois itens de CFOP 1949001 e 1949002 são uma linha só, do CFOP 1949, com os valores somados.
TEST_P(BlocoFDados, F100AgrupaPeloCFOPDeQuatroDigitos) {
  Linha("LCTOFISENT").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", 1).I("CHAVELCTOFISENT", 10)
      .D("DATALCTOFIS", "2024-01-10").I("CODIGOPESSOA", 11).I("NUMERONF", 10).T("ESPECIENF", "NF")
      .T("SERIENF", "1").T("SUBSERIENF", "").T("CDMODELO", "98").Gravar();
  for (int seq : {1, 2}) {
    Linha("LCTOFISENTPRODUTO").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", 1).I("CHAVELCTOFISENT", 10)
        .I("CODIGOPRODUTO", 1).I("SEQ", seq).D("DATALCTOFIS", "2024-01-10").V("VALORTOTAL", 100).Gravar();
    Linha("LCTOFISENTPISCOFINS").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", 1).I("CHAVELCTOFISENT", 10)
        .I("CODIGOPRODUTO", 1).I("SEQ", seq).D("DATALCTOFIS", "2024-01-10").I("CODIGOCFOP", 1949000 + seq)
        .I("CDSITUATRIBUTPIS", 50).I("CDSITUATRIBUTCOFINS", 50).V("ALIQPIS", 1.65).V("ALIQCOFINS", 7.6)
        .V("BASECALCULOPISCOFINS", 100).V("VALORPIS", 1.65).V("VALORCOFINS", 7.6).T("TIPOCREDITO", "4.3.07.13")
        .T("TIPOCREDITOPIS", "4.3.07.13").T("CONTACTBEFD", "1.1").Gravar();
  }
  const auto f = Parans(0);
  const auto linhas = Linhas(RF::GetSqlF100(f), RF::GetParamsEstabData(f));
  ASSERT_EQ(linhas.size(), 1u);
  EXPECT_EQ(linhas[0].at("CODIGOCFOP"), "1949");
  EXPECT_NEAR(N(linhas[0].at("VLPIS")), 3.30, 0.001);
  EXPECT_NEAR(N(linhas[0].at("VLOPER")), 200, 0.001);
}

// F130: a conta do bem é a da última linha até o fim do período, no estabelecimento do bem,
// mesmo com o bem cadastrado em dois estabelecimentos da lista.
TEST_P(BlocoFDados, F130ContaMaisRecenteDoEstabelecimentoDoBem) {
  Bem(1, 9);
  ContaDoBem(1, 1, "2023-01-01", "1.2.3.ANTIGA");
  ContaDoBem(1, 1, "2023-06-01", "1.2.3.NOVA");
  ContaDoBem(1, 1, "2024-03-01", "1.2.3.FUTURA");
  ContaDoBem(2, 1, "2023-03-01", "1.2.3.OUTRO");
  for (const char* estab : {"1", "1,2", ""}) {
    SCOPED_TRACE(std::string("estab [") + estab + "]");
    const auto f = Parans(0, estab);
    const auto linhas = Linhas(RF::GetSqlF130(f), RF::GetParamsF130(f));
    ASSERT_EQ(linhas.size(), 1u);
    EXPECT_EQ(linhas[0].at("CONTACTB"), "1.2.3.NOVA");
    EXPECT_EQ(linhas[0].at("CODIGOCENTROCUSTO"), "CC1");
    EXPECT_NEAR(N(linhas[0].at("VLPIS")), 1.65, 0.001);
  }
}

// F120: a conta do lançamento vem da tabela de contas pela conta do bem.
TEST_P(BlocoFDados, F120ContaDoLancamentoPelaContaDoBem) {
  Bem(2, 1);
  ContaDoBem(1, 2, "2023-01-01", "1.2.3.01.002");
  Linha("PATTABELACTBLCTO").I("SEQ", 1).I("NATUREZA", 1).T("REGRA", "VlrEnc").T("CONTACTB", "1.2.3.01.002")
      .T("CONTACTBLCTO", "4.1.1.01.009").Gravar();
  const auto f = Parans(0, "1");
  const auto linhas = Linhas(RF::GetSqlF120(f), RF::GetParamsEstabData(f));
  ASSERT_EQ(linhas.size(), 1u);
  EXPECT_EQ(linhas[0].at("CONTACTBLCTO"), "4.1.1.01.009");
}

// F510 (caixa) e F560 (competência) por quantidade: só o item tributado por unidade, com a
// quantidade rateada pelo pagamento (metade) no F510. Uma duplicata de parcelas zeradas com
// pagamento no período não derruba as consultas de caixa (o PostgreSQL recusaria a divisão).
TEST_P(BlocoFDados, F510EF560SoOItemPorQuantidade) {
  Saida(20, {{1, 1, "4.3.05.51", 10, 1000, 6.5}, {2, 3, "4.3.05.53", 40, 500, 20}});
  Duplicata(20, 1500, 750);
  Saida(21, {{1, 1, "4.3.05.51", 1, 300, 1.95}});
  Duplicata(21, 0, 0);
  const auto f = Parans(1);
  const TParams v = RF::GetParamsEstabData(f);
  std::vector<std::map<std::string, std::string>> f510;
  ASSERT_NO_THROW(f510 = Linhas(RF::GetSqlF510(f), v));
  ASSERT_EQ(f510.size(), 1u);
  EXPECT_EQ(f510[0].at("CSTPIS"), "3");
  EXPECT_NEAR(N(f510[0].at("QUANTBC")), 20, 0.001);
  EXPECT_NEAR(N(f510[0].at("VLREC")), 250, 0.001);
  EXPECT_NEAR(N(f510[0].at("VLPIS")), 10, 0.001);
  const auto f560 = Linhas(RF::GetSqlF560(f), v);
  ASSERT_EQ(f560.size(), 1u);
  EXPECT_EQ(f560[0].at("CSTPIS"), "3");
  EXPECT_NEAR(N(f560[0].at("QUANTBC")), 40, 0.001);
  EXPECT_NEAR(N(f560[0].at("VLREC")), 500, 0.001);
  const TnArqRepositorioSPEDPisCofinsBlocoFDetalhado det;
  const TnArqRepositorioSPEDPisCofinsBlocoFConsolidado cons;
  for (const RF* r : {static_cast<const RF*>(&det), static_cast<const RF*>(&cons)}) {
    std::vector<std::map<std::string, std::string>> f500;
    ASSERT_NO_THROW(f500 = Linhas(r->GetSqlF500(f), v));
    double rec = 0;
    for (const auto& l : f500) rec += N(l.at("VLREC"));
    EXPECT_NEAR(rec, 500, 0.001);  // metade dos 1000 do item por alíquota do documento 20
    EXPECT_NO_THROW(Linhas(r->GetSqlF525(f), v));
  }
}

// F600: retenção de documento cuja receita é do regime cumulativo (tipo de débito .51 a .54)
// tem a natureza da receita 1; não cumulativa, 0.
TEST_P(BlocoFDados, F600NaturezaDaReceitaPeloTipoDeDebito) {
  int chave = 30;
  for (const char* tipo : {"4.3.05.54", "4.3.05.01"}) {
    Saida(chave, {{1, 1, tipo, 1, 1000, 6.5}});
    Linha("LCTOFISSAIRETIDO").I("CODIGOEMPRESA", 1).I("CODIGOESTAB", 1).I("CHAVELCTOFISSAI", chave)
        .D("DATALCTOFIS", "2024-01-05").I("TIPORETENCAO", chave == 30 ? 1 : 2).V("BASECALCULO", 1000)
        .V("VALORPIS", 6.5).V("VALORCOFINS", 30).D("DATAPGTOPISCOFINSCSLL", "2024-01-20").Gravar();
    ++chave;
  }
  const auto f = Parans(1);
  std::map<std::string, std::string> natureza;
  for (const auto& l : Linhas(RF::GetSqlF600(f), RF::GetParamsF600(f))) natureza[l.at("TIPORETENCAO")] = l.at("INDNATREC");
  EXPECT_EQ(natureza, (std::map<std::string, std::string>{{"1", "1"}, {"2", "0"}}));
}

PISCO_INSTANCIAR_BANCOS(BlocoFDados);

}  // namespace
