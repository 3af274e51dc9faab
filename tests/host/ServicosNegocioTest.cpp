// Tabela temporária de devoluções e créditos do ativo imobilizado.
#include <gtest/gtest.h>

#include "fixtures/Servicos.h"
#include "base/Erros.h"
#include "host/LctoFisTmp.h"
#include "host/PatServicosDACON.h"

namespace {

class ServicosNegocio : public TServicosTeste {
 protected:
  void Movimento() {
    Saida(7, 1, 1, 1, "2024-01-05", 5202, 1, "4.3.05.01", 100);     // devolução do mês
    Saida(7, 1, 1, 2, "2024-01-05", 5102, 1, "4.3.05.01", 100);     // venda na mesma nota
    Saida(7, 2, 2, 1, "2024-01-06", 6411001, 1, "4.3.05.01", 100);  // devolução, CFOP detalhado
    Saida(7, 1, 3, 1, "2023-12-20", 5202, 1, "4.3.05.01", 100);     // devolução do mês anterior
    Saida(8, 1, 4, 1, "2024-01-06", 5202, 1, "4.3.05.01", 100);     // outra empresa
  }
  int64_t Temp() { return Contar("SELECT COUNT(*) FROM LCTOFISTMP"); }
};

TEST_P(ServicosNegocio, TemporariaTemAsDevolucoesDoPeriodo) {
  Movimento();
  TnFisUtilLctoFisTmp::CarregarTempDevolucao(7, "", D("2024-01-01"), D("2024-01-31"), false);
  EXPECT_EQ(Contar("SELECT COUNT(*) FROM LCTOFISTMP WHERE CODIGOEMPRESA = 7 AND "
                   "((CHAVELCTOFISSAI = 1 AND SEQ = 1) OR CHAVELCTOFISSAI = 2)"),
            2);
  EXPECT_EQ(Temp(), 2);
  // Só o estabelecimento 2; carregar de novo substitui o conteúdo.
  TnFisUtilLctoFisTmp::CarregarTempDevolucao(7, "2", D("2024-01-01"), D("2024-01-31"), false);
  EXPECT_EQ(Temp(), 1);
  // A junção que as consultas de receita fazem deixa a devolução de fora.
  EXPECT_EQ(Contar("SELECT COUNT(*) FROM LCTOFISSAIPISCOFINS LPC LEFT JOIN LCTOFISTMP T ON "
                   "T.CODIGOEMPRESA = LPC.CODIGOEMPRESA AND T.CHAVELCTOFISSAI = LPC.CHAVELCTOFISSAI AND "
                   "T.CODIGOPRODUTO = LPC.CODIGOPRODUTO AND T.SEQ = LPC.SEQ WHERE LPC.CODIGOEMPRESA = 7 AND "
                   "T.CODIGOEMPRESA IS NULL"),
            3);
  // Regime de caixa: também a devolução de dezembro cuja duplicata foi paga em janeiro.
  Banco().Executar("INSERT INTO DUPLICATASAI (CODIGOEMPRESA, CODIGOESTAB, CHAVEDUPLICATASAI, CHAVELCTOFISSAI, "
                   "DATAEMISSAO) VALUES (7, 1, 50, 3, :D)",
                   {VarDate(D("2023-12-20"))});
  Banco().Executar("INSERT INTO DUPLICATASAIPGTO (CODIGOEMPRESA, CODIGOESTAB, CHAVEDUPLICATASAI, SEQ, DATAPGTO, "
                   "VALORPAGO) VALUES (7, 1, 50, 1, :D, 100)",
                   {VarDate(D("2024-01-15"))});
  TnFisUtilLctoFisTmp::CarregarTempDevolucao(7, "", D("2024-01-01"), D("2024-01-31"), true);
  EXPECT_EQ(Temp(), 3);
  TnFisUtilLctoFisTmp::LimparTempDevolucao();
  EXPECT_EQ(Temp(), 0);
}

// Transação desfeita depois da primeira carga leva a criação da temporária; ela volta. A guarda
// limpa no fim e também quando a carga falha.
TEST_P(ServicosNegocio, TemporariaSobreviveATransacaoDesfeita) {
  Movimento();
  Banco().IniciarTransacao();
  TnFisUtilLctoFisTmp::CarregarTempDevolucao(7, "", D("2024-01-01"), D("2024-01-31"), false);
  Banco().Desfazer();
  EXPECT_NO_THROW(TnFisUtilLctoFisTmp::LimparTempDevolucao());
  {
    TnGuardaTempDevolucao guarda(7, "1", D("2024-01-01"), D("2024-01-31"), false);
    EXPECT_EQ(Temp(), 1);
  }
  // Falha na própria carga (texto de estabelecimento inválido): nada fica da carga anterior.
  TnFisUtilLctoFisTmp::CarregarTempDevolucao(7, "", D("2024-01-01"), D("2024-01-31"), false);
  EXPECT_THROW(TnGuardaTempDevolucao(7, "1;x", D("2024-01-01"), D("2024-01-31"), false), EEntradaInvalida);
  EXPECT_EQ(Temp(), 0);
}

TEST_P(ServicosNegocio, CreditosDoAtivoDoPeriodo) {
  Banco().Executar("INSERT INTO PATBEM (CODIGOEMPRESA, NUMEROBEM, CODIGOESTAB, DESCRICAOBEM, ORIGEMBEM) VALUES "
                   "(7, 10, 1, 'Torno CNC', 1), (7, 11, 2, 'Galpão', 0)");
  Banco().Executar("INSERT INTO PATCFGDACON (CODIGOEMPRESA, NUMEROBEM, DATAINICIAL, DATAFINAL, TIPODACONCREDITO, "
                   "TIPOAPURACAO) VALUES (7, 10, :D1, :D2, 1, 0), (7, 10, :D3, NULL, 9, 62), (7, 11, :D1, NULL, 6, 0), "
                   "(7, 11, :D4, :D5, 7, 0)",  // a do 11 iniciada depois já terminou: vale a de 2020
                   {VarDate(D("2020-01-01")), VarDate(D("2023-12-31")), VarDate(D("2024-01-01")),
                    VarDate(D("2023-01-01")), VarDate(D("2023-06-30"))});
  Banco().Executar("INSERT INTO PATCREDITODACON (CODIGOEMPRESA, CODIGOESTAB, NUMEROBEM, PERIODO, CSTPIS, CSTCOFINS, "
                   "ALIQPIS, ALIQCOFINS, QUOTAMENSAL, CREDITOPIS, CREDITOCOFINS) VALUES "
                   "(7, 1, 10, :P1, 50, 50, 1.65, 7.6, 1000, 16.5, 76), (7, 2, 11, :P1, 56, 56, 1.65, 7.6, 200, 3.3, 15.2), "
                   "(7, 1, 10, :P0, 50, 50, 1.65, 7.6, 999, 1, 1)",
                   {VarDate(D("2024-01-01")), VarDate(D("2023-12-01"))});
  auto itens = TnPatServicosDACON::CreditosDaconPeriodo(7, "", D("2024-01-01"), D("2024-01-31"));
  ASSERT_EQ(itens.size(), 2u);
  // junção com o bem certo, configuração em vigor em janeiro de 2024, PIS e COFINS não trocados
  EXPECT_EQ(std::make_tuple(itens[0].DescricaoBem, itens[0].TipoDaconCredito, itens[0].TipoApuracao,
                            itens[0].CreditoPis, itens[0].CreditoCofins),
            std::make_tuple(std::string("Torno CNC"), 9, 62, 16.5, 76.0));
  EXPECT_EQ(itens[1].TipoDaconCredito, 6);
  EXPECT_EQ(TnPatServicosDACON::CreditosDaconPeriodo(7, "2", D("2024-01-01"), D("2024-01-31")).size(), 1u);
  auto dez = TnPatServicosDACON::CreditosDaconPeriodo(7, "1", D("2023-12-01"), D("2023-12-31"));
  ASSERT_EQ(dez.size(), 1u);
  EXPECT_EQ(dez[0].TipoDaconCredito, 1);
  EXPECT_TRUE(TnPatServicosDACON::CreditosDaconPeriodo(8, "", D("2024-01-01"), D("2024-01-31")).empty());
}

PISCO_INSTANCIAR_BANCOS(ServicosNegocio);

}  // namespace
