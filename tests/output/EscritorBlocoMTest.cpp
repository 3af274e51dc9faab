#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "fixtures/ArvoreBlocoM.h"
#include "output/EscritorBlocoM.h"
#include "output/LayoutBlocoM.h"

namespace {

std::string Escrever(const TM001AberturaBloco& m001) {
  std::ostringstream saida;
  EscreverBlocoM(saida, m001);
  return saida.str();
}

// A árvore com todos os registros, PIS e COFINS, contra o arquivo de referência (valores
// conferidos à mão: bases por CST, ajustes, M211, M300 depois de todos os M210, M410 pela
// chave, M990). É o único lugar em que saem campos que os cenários só veem vazios ou zerados
// (VL_CRED_DIF, VL_BC_CUM, INFO_COMPL, NAT_CRED_DESC, DESC_COMPL) e o M700.
TEST(EscritorBlocoM, ArvoreCompletaIgualAoArquivoDeReferencia) {
  std::ifstream arq(std::string(PISCO_SOURCE_DIR) + "/tests/fixtures/golden/blocom_completo.txt",
                    std::ios::binary);
  ASSERT_TRUE(arq);
  std::ostringstream esperado;
  esperado << arq.rdbuf();
  EXPECT_EQ(Escrever(*arvore_teste::MontarArvoreCompleta({1.0, true, true, true, true})), esperado.str());
}

// O leiaute compilado é o do arquivo do leiaute oficial: nome, tipo e casas de cada campo.
TEST(EscritorBlocoM, LeiauteIgualAoArquivoDoLeiaute) {
  std::ifstream arq(std::string(PISCO_SOURCE_DIR) + "/src/output/layout-blocom.json");
  ASSERT_TRUE(arq);
  const auto json = nlohmann::json::parse(arq);
  ASSERT_EQ(json.size(), LayoutBlocoM().size());
  for (const auto& reg : LayoutBlocoM()) {
    ASSERT_TRUE(json.contains(reg.Registro)) << reg.Registro;
    const auto& campos = json[reg.Registro];
    ASSERT_EQ(campos.size(), reg.Campos.size()) << reg.Registro;
    for (size_t k = 0; k < campos.size(); ++k) {
      const auto& c = reg.Campos[k];
      EXPECT_EQ(campos[k]["campo"], c.Campo) << reg.Registro << " " << k;
      EXPECT_EQ(campos[k]["tipo"], c.Tipo) << reg.Registro << " " << c.Campo;
      EXPECT_EQ(campos[k]["formato"], c.Formato) << reg.Registro << " " << c.Campo;
    }
  }
}

// IND_MOV é 0 sempre que sai registro além de M001 e M990, e todo M001 leva o M200 e o M600;
// só a execução sem M001 nenhum escreve o bloco sem movimento.
TEST(EscritorBlocoM, IndicadorDeMovimento) {
  EXPECT_EQ(MontarLinhasBlocoM(static_cast<const TM001AberturaBloco*>(nullptr)),
            (std::vector<std::string>{"|M001|1|", "|M990|2|"}));
  const std::string zeros12 = "|0,00|0,00|0,00|0,00|0,00|0,00|0,00|0,00|0,00|0,00|0,00|0,00|";
  TM001AberturaBloco vazio;
  EXPECT_EQ(Escrever(vazio), "|M001|0|\r\n|M200" + zeros12 + "\r\n|M600" + zeros12 + "\r\n|M990|4|\r\n");
}

TEST(EscritorBlocoM, FormatoDosCampos) {
  struct Caso {
    TValorCampo valor;
    int casas;
    std::string esperado;
  };
  const std::vector<Caso> casos = {
      {TValorCampo::DeDecimal(0), 2, "0,00"},
      {TValorCampo::DeDecimal(-0.001), 2, "0,00"},
      {TValorCampo::DeDecimal(2.675), 2, "2,68"},
      {TValorCampo::DeDecimal(1.005), 2, "1,01"},
      {TValorCampo::DeDecimal(-2.675), 2, "-2,68"},
      {TValorCampo::DeDecimal(1.65), 4, "1,6500"},
      {TValorCampo::DeDecimal(363.6364), 3, "363,636"},
      {TValorCampo::DeDecimal(1234567.891), 3, "1234567,891"},
      {TValorCampo::DeDecimal(1e12), 2, "1000000000000,00"},
      {TValorCampo::DeInteiro(7), -1, "7"},
      {TValorCampo::DeTexto("a|b\r\nc"), -1, "a b  c"},
      {TValorCampo::DeTexto("Alíquota"), -1, "Alíquota"},
      {TValorCampo::Nulo(), 2, ""},
  };
  for (const auto& c : casos) {
    const TCampoLayout campo("X", "numeric", c.casas < 0 ? "" : "15v" + std::to_string(c.casas));
    EXPECT_EQ(FormatarCampo(c.valor, campo), c.esperado) << c.esperado;
  }
  // Decimal num campo sem casas é erro do programa, não um número truncado.
  EXPECT_THROW(FormatarCampo(TValorCampo::DeDecimal(1.5), TCampoLayout("X", "numeric", "")), EPisco);
  TLinhaBlocoM curta{"M205", {TValorCampo::DeTexto("08")}};
  EXPECT_THROW(FormatarLinhaBlocoM(curta), EPisco);
}

}  // namespace
