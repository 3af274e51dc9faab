// Conversões das chaves do SPED, filtros de CFOP, de processo e de estabelecimento.
#include <gtest/gtest.h>

#include "fixtures/Servicos.h"
#include "host/CFOP.h"
#include "base/Erros.h"
#include "host/FiltroEstab.h"
#include "host/FisFuncoes.h"
#include "host/Servicos.h"

namespace {

using TFiltro = TnArqRepositorioSPEDPisCofinsFiltroEstab;

TEST(FisFuncoes, ConversoesDeChavesDoSPED) {
  // chave; item, tabela e conversão (sem host: só as regras)
  const std::tuple<const char*, const char*, const char*, const char*> casos[] = {
      {"4.3.05.51", "51", "4.3.05", "51"},    {" 4.3.07.01 ", "01", "4.3.07", "01"},
      {"4.3.12.101", "101", "4.3.12", "03"},  {"4.3.13.9A1", "9A1", "4.3.13", "9A1"},
      {"101", "101", "", "101"},              {"", "", "", ""},
      {"4.3.x.01", "4.3.x.01", "", "4.3.x.01"}, {"4.3.05.01.2", "4.3.05.01.2", "", "4.3.05.01.2"},
  };
  for (const auto& [chave, item, tabela, conversao] : casos) {
    SCOPED_TRACE(chave);
    EXPECT_EQ(TnFisFuncoes::GetCodigoTipoDebitoTipoCredito(chave), item);
    EXPECT_EQ(TnFisFuncoes::GetTabelaSPEDTipoDebitoTipoCredito(chave), tabela);
    EXPECT_EQ(TnFisFuncoes::GetCodigoTipoDebitoConversao(chave), conversao);
  }
}

TEST(FisFuncoes, FiltroIndProcRefEColunasInvalidas) {
  EXPECT_EQ(GetFiltroIndProcRef("P.INDPROCREF"), " AND CAST(P.INDPROCREF AS VARCHAR(2)) IN ('1', '3', '9') ");
  for (const char* ruim : {"", "P.INDPROCREF; DROP TABLE X", "1X", "P.IND'"})
    EXPECT_THROW(GetFiltroIndProcRef(ruim), EEntradaInvalida) << ruim;
}

TEST(FisFuncoes, MontarFiltroCFOPJuntaFaixasECobreOCodigoDetalhado) {
  // Até o índice dado, inclusive; índice além do fim usa a lista inteira (executado abaixo).
  EXPECT_EQ(MontarFiltroCFOP({5927, 5949}, 0, "C"), MontarFiltroCFOP({5927}, "C"));
  EXPECT_EQ(MontarFiltroCFOP({5927}, 72, "C"), MontarFiltroCFOP({5927}, 0, "C"));
  EXPECT_THROW(MontarFiltroCFOP({5927}, "C) OR (1=1"), EEntradaInvalida);
  EXPECT_EQ(std::make_pair(CFOPQuatroDigitos(5927123), CFOPQuatroDigitos(5102)), std::make_pair(5927, 5102));
}

TEST(FiltroEstab, InclusaoEFragmentos) {
  const std::pair<const char*, bool> inclusao[] = {{"5", false}, {" 12 ", false}, {"0", true}, {"", true},
                                                   {"1-3", true}, {"1,2", true},   {"abc", true}};
  for (auto [texto, esperado] : inclusao) EXPECT_EQ(TFiltro::EhEstabInclusion(texto), esperado) << texto;

  for (const char* ruim : {"1 or 1=1", "3-1", "1;;x", "1,-2", "1-"})
    EXPECT_THROW(TFiltro::GetFiltroEstab("L", ruim, false), EEntradaInvalida) << ruim;
  EXPECT_THROW(TFiltro::GetFiltroEstab("7 or 1", "L", "5", 1, false, true), EEntradaInvalida);
  EXPECT_THROW(TFiltro::GetFiltroEstab("L X", "5", false), EEntradaInvalida);
}

class FiltrosNoBanco : public TServicosTeste {};

// Os fragmentos executam nos dois dialetos e selecionam as linhas certas.
TEST_P(FiltrosNoBanco, FragmentosSelecionamAsLinhasCertas) {
  const std::tuple<int, int, int> linhas[] = {{1, 1, 5102}, {1, 2, 5202}, {2, 3, 5202001}, {3, 4, 5152}, {4, 5, 6411999}};
  for (const auto& [estab, chave, cfop] : linhas) Saida(7, estab, chave, 1, "2024-01-10", cfop, 1, "4.3.05.01", 100);
  Banco().Executar("UPDATE LCTOFISSAI SET CODIGOESTABSCP = 3 WHERE CHAVELCTOFISSAI = 2");
  Banco().Executar("UPDATE LCTOFISSAI SET CODIGOESTABSCP = 9 WHERE CHAVELCTOFISSAI = 5");  // o 4 lança para a SCP 9
  auto contar = [&](const std::string& filtro, const TParams& p = {}) {
    auto ds = Banco().Abrir("SELECT COUNT(*) FROM LCTOFISSAIPISCOFINS LPC JOIN LCTOFISSAI L ON "
                            "L.CODIGOEMPRESA = LPC.CODIGOEMPRESA AND L.CHAVELCTOFISSAI = LPC.CHAVELCTOFISSAI "
                            "WHERE LPC.CODIGOEMPRESA = 7" + filtro, p);
    return ds->Fields(0).AsInteger();
  };
  EXPECT_EQ(contar(" AND " + MontarFiltroCFOP(LstCFOPDevolucao(), "LPC.CODIGOCFOP")), 3);
  EXPECT_EQ(contar(" AND " + MontarFiltroCFOP(LstCFOPTransferencia(), "LPC.CODIGOCFOP")), 1);
  EXPECT_EQ(contar(" AND " + MontarFiltroCFOP({}, "LPC.CODIGOCFOP")), 0);
  EXPECT_EQ(contar(TFiltro::GetFiltroEstab("L", "  ", false)), 5);
  EXPECT_EQ(contar(TFiltro::GetFiltroEstab("L", "2", false), {TVariant(int64_t{2})}), 1);
  EXPECT_EQ(contar(TFiltro::GetFiltroEstab("L", "1-2;4", false)), 4);
  EXPECT_EQ(contar(TFiltro::GetFiltroEstab("7", "L", "3", 1, false, true), {TVariant(int64_t{3})}), 2);
  EXPECT_EQ(contar(TFiltro::GetFiltroEstab("7", "L", "3-4", 1, false, true)), 2);  // sem a 4 lançada para a SCP 9
}

// Conversão pela tabela TABELASPED do host prevalece sobre a regra.
TEST_P(FiltrosNoBanco, ConversaoPelaTabelaDoHost) {
  Banco().Executar("INSERT INTO TABELASPED (CODIGOTABSPED, TABELA, CODIGO, CODIGOCONVERSAO) VALUES "
                   "('4.3.12.101', '4.3.12', '101', '53'), ('4.3.12.102', '4.3.12', '102', NULL)");
  EXPECT_EQ(TnFisFuncoes::GetCodigoTipoDebitoConversao("4.3.12.101"), "53");
  EXPECT_EQ(TnFisFuncoes::GetCodigoTipoDebitoConversao("4.3.12.102"), "03");
  EXPECT_EQ(TnFisFuncoes::GetCodigoTipoDebitoConversao("4.3.05.02"), "02");
}

// Listas de CFOP vêm da tabela CFOP; sem marcação, da lista pública embutida.
TEST_P(FiltrosNoBanco, ListasDeCFOPDaTabela) {
  const std::vector<int> devolPadrao = LstCFOPDevolucao();
  EXPECT_TRUE(std::count(devolPadrao.begin(), devolPadrao.end(), 5202));
  PopularTabelaCFOP(Banco());
  PopularTabelaCFOP(Banco());  // idempotente
  EXPECT_EQ(Contar("SELECT COUNT(*) FROM CFOP WHERE INDDEVOLUCAO = 1"), static_cast<int64_t>(devolPadrao.size()));
  Banco().Executar("UPDATE CFOP SET INDDEVOLUCAO = 0 WHERE CODIGOCFOP <> 5202");
  Banco().Executar("UPDATE CFOP SET INDENERGIAELETRICA = 0 WHERE CODIGOCFOP > 2000");
  Host().Servicos().LimparCaches();
  EXPECT_EQ(LstCFOPDevolucao(), std::vector<int>{5202});
  EXPECT_EQ(LstCFOPEntEnergiaEletrica(), LstMGCfopEntNoEstEnergia());
  EXPECT_TRUE(LstMGCfopEntForaEstEnergia().empty());
}

PISCO_INSTANCIAR_BANCOS(FiltrosNoBanco);

}  // namespace
