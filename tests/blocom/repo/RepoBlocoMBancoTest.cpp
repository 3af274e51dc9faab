// Repositório monolítico sobre bancos pequenos (SQLite e PostgreSQL): opções que fixam o
// regime, tabelas de cada regime, créditos e a forma de caixa das receitas isentas.
#include <gtest/gtest.h>

#include "blocom/repo/nFisRepositorioPisCofinsBlocoM_U.h"
#include "fixtures/Servicos.h"
#include "host/Servicos.h"

namespace {
class RepoBlocoMBanco : public TServicosTeste {
 protected:
  void Sql(const std::string& ASQL) { Banco().Executar(ASQL); }

  void LucroReal(int AEmpresa, const std::string& AData, int ARegime, int ATipo = 1) {
    Sql("INSERT INTO OPCAOLUCROREAL (CODIGOEMPRESA, DATAOPCAO, APURALUCROREAL, REGIMEAPURACAO, TIPOAPURACAO, APURAPIS, "
        "APURACOFINS) VALUES (" + std::to_string(AEmpresa) + ", '" + AData + "', 1, " + std::to_string(ARegime) + ", " +
        std::to_string(ATipo) + ", 1, 1)");
  }
  void Presumido(int AEmpresa, int ATipo) {
    Sql("INSERT INTO OPCAOLUCROPRESUMIDO (CODIGOEMPRESA, DATAOPCAO, APURALUCROPRESUMIDO, TIPOAPURACAO, APURAPIS, "
        "APURACOFINS) VALUES (" + std::to_string(AEmpresa) + ", '2023-01-01', 1, " + std::to_string(ATipo) + ", 1, 1)");
  }
  void Total(const std::string& ATabela, int AEmpresa, int AOperacao, double AV1, double AV2, double AV3,
             int AEstab = 0) {
    const std::string e = std::to_string(AEmpresa);
    if (AEstab)
      Sql("INSERT INTO " + ATabela + "ESTAB (CODIGOEMPRESA, CODIGOESTAB, DATATOTAL, CODIGOOPERACAOFIS, VALORTOTAL1, "
          "VALORTOTAL2, VALORTOTAL3) VALUES (" + e + ", " + std::to_string(AEstab) + ", '2024-01-01', " +
          std::to_string(AOperacao) + ", " + std::to_string(AV1) + ", " + std::to_string(AV2) + ", " +
          std::to_string(AV3) + ")");
    else
      Sql("INSERT INTO " + ATabela + " (CODIGOEMPRESA, DATATOTAL, CODIGOOPERACAOFIS, VALORTOTAL1, VALORTOTAL2, "
          "VALORTOTAL3) VALUES (" + e + ", '2024-01-01', " + std::to_string(AOperacao) + ", " + std::to_string(AV1) +
          ", " + std::to_string(AV2) + ", " + std::to_string(AV3) + ")");
  }
  void CredAnterior(int AEmpresa, int ASeq, int AImposto, double ADescontado) {
    Sql("INSERT INTO TOTALLUCROREALCREDSPED (CODIGOEMPRESA, CODIGOESTAB, DATALCTOFIS, SEQ, IMPOSTO, CODCRED, "
        "PERAPUCRED, ORIGCRED, VLCREDDESCEFD) VALUES (" + std::to_string(AEmpresa) + ", 1, '2024-01-20', " +
        std::to_string(ASeq) + ", " + std::to_string(AImposto) + ", '4.3.06.101', '2023-11-01', 1, " +
        std::to_string(ADescontado) + ")");
  }
  void Entrada(int AEmpresa, int AChave, int ACfop, int ACST, double AAliqPis, double ABase, double AQuant,
               const std::string& ANatureza) {
    Sql("INSERT INTO LCTOFISENTPISCOFINS (CODIGOEMPRESA, CODIGOESTAB, CHAVELCTOFISENT, CODIGOPRODUTO, SEQ, "
        "DATALCTOFIS, CODIGOCFOP, CDSITUATRIBUTPIS, CDSITUATRIBUTCOFINS, ALIQPIS, ALIQCOFINS, QUANTIDADE, "
        "BASECALCULOPISCOFINS, TIPOCREDITO, TIPOCREDITOPIS) VALUES (" + std::to_string(AEmpresa) + ", 1, " +
        std::to_string(AChave) + ", 1, 1, '2024-01-10', " + std::to_string(ACfop) + ", " + std::to_string(ACST) +
        ", " + std::to_string(ACST) + ", " + std::to_string(AAliqPis) + ", 7.6, " + std::to_string(AQuant) + ", " +
        std::to_string(ABase) + ", '" + ANatureza + "', '" + ANatureza + "')");
  }
  void Ajuste(int AEmpresa, int ASeq, int ATipo, const std::string& ANatureza, double AAliq, double AValor) {
    Sql("INSERT INTO LUCROREALAJUSTEPISCOFINS (CODIGOEMPRESA, CODIGOESTAB, SEQ, DATALCTOFIS, TIPOAJUSTE, INDAJUSTE, "
        "NATAJUSTE, CODIGOAJUSTE, NUMPROCESSO, DESCAJUSTE, ALIQAJUSTEPIS, ALIQAJUSTECOFINS, VLRAJUSTEPIS, "
        "VLRAJUSTECOFINS) VALUES (" + std::to_string(AEmpresa) + ", 1, " + std::to_string(ASeq) + ", '2024-01-25', " +
        std::to_string(ATipo) + ", '0', '" + ANatureza + "', '4.3.08.06', '', 'ESTORNO', " + std::to_string(AAliq) +
        ", 7.6, " + std::to_string(AValor) + ", 1)");
  }

  std::unique_ptr<TM001AberturaBloco> Rodar(TRepoPisCofinsBlocoM& ARepo, int AEmpresa, const std::string& AEstab = "",
                                            TModoGeracao AModo = TModoGeracao::mgEmpresa) {
    Host().Servicos().LimparCaches();
    TConfigBlocoM c;
    c.CodigoEmpresa = AEmpresa;
    c.CodigoEstab = AEstab;
    c.ModoGeracao = AModo;
    CompetenciaParaPeriodo("2024-01", c.DataInicial, c.DataFinal);
    return ARepo.CarregarDadosBlocoM(c);
  }
};
}  // namespace

// Regime de cada empresa e as tabelas de totais que cada regime lê no M200/M600.
TEST_P(RepoBlocoMBanco, OpcoesFixamORegimeEAsTabelasDoM200) {
  for (int e : {11, 12, 13, 14, 15, 16}) Sql("INSERT INTO CFGEMPRESAFIS (CODIGOEMPRESA) VALUES (" + std::to_string(e) + ")");
  // 11: lucro real misto; duas operações de dedução para pegar a soma multiplicada pela junção.
  LucroReal(11, "2023-01-01", 2);
  Total("TOTALLUCROREAL", 11, 2191, 10, 20, 0);
  Total("TOTALLUCROREAL", 11, 2192, 1, 2, 0);
  Total("TOTALLUCROREAL", 11, 2185, 3, 4, 0);
  CredAnterior(11, 1, 15, 5);
  CredAnterior(11, 2, 16, 7);
  Sql("INSERT INTO LUCROREALPISPASEPFOLHA (CODIGOEMPRESA, CODIGOESTAB, PERIODO, ALIQUOTA, TOTALFOLHA, EXCLUSAO, "
      "BASECALCULO, VALORPISPASEP) VALUES (11, 1, '2024-01-01', 0, 0, 0, 0, 0)");
  // 12: presumido (tipo 2), com totais da empresa e de um estabelecimento SCP.
  Presumido(12, 2);
  Estab(12, 1, false);
  Estab(12, 2, true);
  Total("TOTALLUCROPRESUMIDO", 12, 107, 0, 0, 8);
  Total("TOTALLUCROPRESUMIDO", 12, 97, 0, 0, 2);
  Total("TOTALLUCROPRESUMIDO", 12, 98, 0, 0, 1);
  Total("TOTALLUCROPRESUMIDO", 12, 107, 0, 0, 3, 2);
  Entrada(12, 1, 1102, 50, 1.65, 1000, 0, "4.3.07.01");
  // 13: só a opção da EFD (regime no byte baixo) e a folha da EFD.
  OpcaoEFD(13, 1, "2023-01-01", 0x0101);
  Total("TOTALLUCROREAL", 13, 2191, 9, 0, 0);
  Sql("INSERT INTO EFDPISPASEPFOLHA (CODIGOEMPRESA, CODIGOESTAB, PERIODO, ALIQUOTA, TOTALFOLHA, EXCLUSAO, "
      "BASECALCULO, VALORPISPASEP) VALUES (13, 1, '2024-01-01', 1, 1000, 50, 950, 9.5)");
  // 15: opção do lucro real só depois do período; 16: lucro real cumulativo.
  LucroReal(15, "2024-02-01", 1);
  Total("TOTALLUCROREAL", 15, 2191, 9, 0, 0);
  LucroReal(16, "2023-01-01", 3, 2);
  Total("TOTALLUCROREAL", 16, 2191, 10, 20, 0);
  Total("TOTALLUCROREAL", 16, 8027, 3, 4, 0);

  struct TCaso {
    int Empresa;
    const char* Estab;
    bool Real, Presumido, EFD, SCP;
    int Regime, Tipo;
    double DescAnt, OutNC, OutCum, RetNC, RetCum;
    bool TemM350;
  };
  const TCaso casos[] = {
      {11, "", true, false, false, false, 2, 1, 5, 11, 22, 3, 4, false},
      {12, "", false, true, false, false, 3, 2, 0, 0, 8, 0, 3, false},
      {12, "2", false, true, false, true, 3, 2, 0, 0, 3, 0, 0, false},
      {13, "", false, false, true, false, 1, 2, 0, 9, 0, 0, 0, true},
      {14, "", false, false, false, false, 0, 0, 0, 0, 0, 0, 0, false},
      {15, "", false, false, false, false, 0, 0, 0, 0, 0, 0, 0, false},
      {16, "", true, false, false, false, 3, 2, 0, 0, 20, 0, 3, false},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE("empresa " + std::to_string(c.Empresa) + " estab '" + c.Estab + "'");
    TRepoPisCofinsBlocoM repo;
    auto m001 = Rodar(repo, c.Empresa, c.Estab, *c.Estab ? TModoGeracao::mgSCP : TModoGeracao::mgEmpresa);
    EXPECT_EQ(repo.GetOptanteLucroReal(), c.Real);
    EXPECT_EQ(repo.GetOptanteLucroPresumido(), c.Presumido);
    EXPECT_EQ(repo.GetOptanteEFD(), c.EFD);
    EXPECT_EQ(repo.GetEstabSCP(), c.SCP);
    EXPECT_EQ(repo.GetRegimeApuracao(), c.Regime);
    EXPECT_EQ(repo.GetTipoApuracao(), c.Tipo);
    const auto& m200 = *m001->FM200;
    EXPECT_DOUBLE_EQ(m200.FVL_TOT_CRED_DESC_ANT, c.DescAnt);
    EXPECT_DOUBLE_EQ(m200.FVL_OUT_DED_NC, c.OutNC);
    EXPECT_DOUBLE_EQ(m200.FVL_OUT_DED_CUM, c.OutCum);
    EXPECT_DOUBLE_EQ(m200.FVL_RET_NC, c.RetNC);
    EXPECT_DOUBLE_EQ(m200.FVL_RET_CUM, c.RetCum);
    EXPECT_EQ(m001->FM350 != nullptr, c.TemM350);
    // Presumido não tem créditos, mesmo com entradas de CST 50.
    if (c.Presumido) {
      EXPECT_TRUE(m001->FM100List.Vazia() && m001->FM500List.Vazia());
    }
  }
  // A COFINS desconta só os créditos anteriores da COFINS.
  TRepoPisCofinsBlocoM repo;
  EXPECT_DOUBLE_EQ(Rodar(repo, 11)->FM600->FVL_TOT_CRED_DESC_ANT, 7);
}

// Créditos: soma das bases por natureza e CST, chave por quantidade, evento separado e
// ajuste sem crédito correspondente descartado.
TEST_P(RepoBlocoMBanco, CreditosPorTipoAliquotaEOrigem) {
  Sql("INSERT INTO CFGEMPRESAFIS (CODIGOEMPRESA) VALUES (21)");
  LucroReal(21, "2023-01-01", 1);
  Estab(21, 1, false);
  Entrada(21, 1, 1102, 50, 1.65, 1000, 0, "4.3.07.01");
  Entrada(21, 2, 2102, 50, 1.65, 500, 0, "4.3.07.01");
  Entrada(21, 3, 1102, 50, 0.5, 0, 10, "4.3.07.02");
  Entrada(21, 4, 1102, 50, 0.5, 0, 20, "4.3.07.02");
  Sql("INSERT INTO EFDCREDITOEVENTOINCFUSCIS (CODIGOEMPRESA, CODIGOESTAB, DATALCTOFIS, SEQ, PERAPUCRED, CODIGOTABSPED, "
      "VALORCREDTRANSFPIS, VALORCREDTRANSFCOFINS) VALUES (21, 1, '2024-01-05', 1, '2023-11-01', '4.3.06.101', 40, 90)");
  Ajuste(21, 1, 0, "4.3.06.101", 1.65, 2.5);
  Ajuste(21, 2, 0, "4.3.06.102", 0.8, 9);  // não há crédito 102 a 0,8%
  Sql("INSERT INTO TOTALLUCROREALCREDSPED (CODIGOEMPRESA, CODIGOESTAB, DATALCTOFIS, SEQ, IMPOSTO, CODCRED, PERAPUCRED, "
      "ORIGCRED, VLCREDDESCEFD) VALUES (21, 1, '2024-01-31', 1, 15, '4.3.06.101', '2024-01-01', 0, 100)");

  TRepoPisCofinsBlocoM repo;
  auto m001 = Rodar(repo, 21);
  const auto& m100 = m001->FM100List;
  ASSERT_EQ(m100.Count(), 3) << "101 do período, 103 por quantidade e 101 do evento";
  const auto& basico = m100.Items("101|1.65|0|0");
  ASSERT_EQ(basico.FM105_505List.Count(), 1);
  EXPECT_DOUBLE_EQ(basico.FM105_505List.Items("01|50").FVL_BC_TOT, 1500);
  EXPECT_DOUBLE_EQ(basico.GetVL_CRED(), 24.75);
  ASSERT_EQ(basico.FM110_510List.Count(), 1);
  EXPECT_DOUBLE_EQ(basico.GetVL_AJUS_REDUC(), 2.5);
  // Descontado no máximo o disponível: 24,75 - 2,50.
  EXPECT_DOUBLE_EQ(basico.FVL_CRED_DESC, 22.25);
  const auto& qtd = m100.Items("103|0|0.5|0");
  EXPECT_DOUBLE_EQ(qtd.FALIQ_QUANT, 0.5);
  EXPECT_DOUBLE_EQ(qtd.GetVL_CRED(), 15);
  const auto& evento = m100.Items("101|0|0|1");
  EXPECT_EQ(evento.FIND_CRED_ORI, 1);
  EXPECT_DOUBLE_EQ(evento.GetVL_CRED(), 40);
  EXPECT_DOUBLE_EQ(m001->FM500List.Items("101|0|0|1").GetVL_CRED(), 90);
  EXPECT_DOUBLE_EQ(m001->FM500List.Items("101|7.6|0|0").FVL_CRED_DESC, 0) << "o desconto de PIS não vai à COFINS";
}

// Presumido com apuração tipo 3: receita isenta pelo pagamento da duplicata, proporcional a
// (pago + desconto) / valor das parcelas; saída sem pagamento no mês fica de fora.
TEST_P(RepoBlocoMBanco, ReceitaIsentaDoPresumidoNoCaixa) {
  Sql("INSERT INTO CFGEMPRESAFIS (CODIGOEMPRESA) VALUES (31)");
  Presumido(31, 3);
  Estab(31, 1, false);
  for (int chave : {1, 2})
    Sql("INSERT INTO LCTOFISSAIPISCOFINS (CODIGOEMPRESA, CODIGOESTAB, CHAVELCTOFISSAI, CODIGOPRODUTO, SEQ, DATALCTOFIS, "
        "CODIGOCFOP, CDSITUATRIBUTPIS, CDSITUATRIBUTCOFINS, ALIQPIS, ALIQCOFINS, RECEITAPISCOFINS, VALORPIS, VALORCOFINS, "
        "TIPODEBITO, TIPODEBITOPIS) VALUES (31, 1, " + std::to_string(chave) +
        ", 1, 1, '2024-01-05', 5102, 6, 6, 0, 0, 1000, 0, 0, '4.3.11.101', '4.3.11.101')");
  Sql("INSERT INTO DUPLICATASAI (CODIGOEMPRESA, CODIGOESTAB, CHAVEDUPLICATASAI, CHAVELCTOFISSAI, DATAEMISSAO) "
      "VALUES (31, 1, 1, 1, '2024-01-05')");
  Sql("INSERT INTO DUPLICATASAIPARCELA (CODIGOEMPRESA, CODIGOESTAB, CHAVEDUPLICATASAI, SEQPARCELA, VALORPARCELA) "
      "VALUES (31, 1, 1, 1, 600)");
  Sql("INSERT INTO DUPLICATASAIPARCELA (CODIGOEMPRESA, CODIGOESTAB, CHAVEDUPLICATASAI, SEQPARCELA, VALORPARCELA) "
      "VALUES (31, 1, 1, 2, 400)");
  Sql("INSERT INTO DUPLICATASAIPGTO (CODIGOEMPRESA, CODIGOESTAB, CHAVEDUPLICATASAI, SEQ, SEQPARCELA, DATAPGTO, "
      "VALORPAGO, VALORDESCONTO) VALUES (31, 1, 1, 1, 1, '2024-01-20', 590, 10)");
  Sql("INSERT INTO EFDF100DEMAISDOC (CODIGOEMPRESA, CODIGOESTAB, SEQ, DATALCTOFIS, INDOPER, VALOROPER, CST, CSTCOFINS, "
      "VALORPIS, VALORCOFINS, TIPODEBITO, TIPODEBITOCOFINS) VALUES (31, 1, 1, '2024-01-08', 2, 50, 6, 6, 0, 0, "
      "'4.3.11.101', '4.3.11.101')");

  TRepoPisCofinsBlocoM repo;
  auto m001 = Rodar(repo, 31);
  EXPECT_TRUE(repo.GetFormaCaixa());
  for (const auto* lista : {&m001->FM400List, &m001->FM800List}) {
    ASSERT_EQ(lista->Count(), 1);
    const auto& m400 = lista->Items("6");
    ASSERT_EQ(m400.FM410_810List.Count(), 1) << "saída e demais documentos da mesma natureza: um M410";
    EXPECT_DOUBLE_EQ(m400.FM410_810List.Items("101").VL_REC, 650);
  }
}

PISCO_INSTANCIAR_BANCOS(RepoBlocoMBanco);
