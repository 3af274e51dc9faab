// Leitor de cenários: a estrutura lida de um arquivo completo e o arquivo e a linha em cada erro.
#include <gtest/gtest.h>

#include "cenarios/runner/LeitorCenario.h"

namespace {

TEST(LeitorCenario, LeCabecalhoDadosComandosEEsperado) {
  const auto c = LerCenario("x.cenario",
                            "# nome: credito-simples\r\n"
                            "# descricao: primeira parte\n"
                            "# descricao: segunda parte\n"
                            "# comentário livre\n"
                            "\n"
                            "dados\n"
                            "-- comentário SQL\n"
                            "INSERT INTO A (X)\n"
                            "  VALUES (1);\n"
                            "\n"
                            "INSERT INTO B VALUES ('a;b');\n"
                            "comando blocom --empresa 11 --estab \"1, 3\"\n"
                            "----\n"
                            "|M001|0|\n"
                            "  recuo mantido\n"
                            "\n"
                            "erro sql --registro Z\n"
                            "----\n"
                            "pisco: registro desconhecido\n");
  EXPECT_EQ(c.Nome, "credito-simples");
  EXPECT_EQ(c.Descricao, "primeira parte segunda parte");
  ASSERT_EQ(c.Passos.size(), 3u);
  ASSERT_EQ(c.Passos[0].SQL.size(), 2u);
  EXPECT_EQ(c.Passos[0].SQL[0].Linha, 8);
  EXPECT_EQ(c.Passos[0].SQL[0].Texto, "INSERT INTO A (X)\nVALUES (1)");
  EXPECT_EQ(c.Passos[0].SQL[1].Texto, "INSERT INTO B VALUES ('a;b')");
  EXPECT_EQ(c.Passos[1].Argumentos, (std::vector<std::string>{"blocom", "--empresa", "11", "--estab", "1, 3"}));
  EXPECT_FALSE(c.Passos[1].EsperaErro);
  EXPECT_EQ(c.Passos[1].LinhaEsperado, 14);
  EXPECT_EQ(c.Passos[1].Esperado, (std::vector<std::string>{"|M001|0|", "  recuo mantido"}));
  EXPECT_TRUE(c.Passos[2].EsperaErro);
  EXPECT_EQ(c.Passos[2].Esperado, (std::vector<std::string>{"pisco: registro desconhecido"}));
}

TEST(LeitorCenario, ErroDizArquivoLinhaEMotivo) {
  const std::string cab = "# nome: n\n# descricao: d\n";
  struct TCaso {
    std::string Texto, Inicio, Trecho;
  };
  const TCaso casos[] = {
      {"# descricao: d\ncomando blocom\n----\n", "c.cenario:1: ", "nome"},
      {"# nome: n\ncomando blocom\n----\n", "c.cenario:1: ", "descricao"},
      {"# nome: a b\n", "c.cenario:1: ", "espaços"},
      {"# nome: a\n# nome: b\n", "c.cenario:2: ", "repetido"},
      {cab + "dados\nINSERT INTO A VALUES (1);\n", "c.cenario:4: ", "nenhum \"comando\""},
      {cab + "dados\nINSERT INTO A\ncomando blocom\n----\n", "c.cenario:4: ", "sem ';'"},
      {cab + "dados\ncomando blocom\n----\n", "c.cenario:3: ", "sem nenhum comando SQL"},
      {cab + "comando blocom\n|M001|0|\n", "c.cenario:4: ", "\"----\""},
      {cab + "comando blocom --db x.db\n----\n", "c.cenario:3: ", "--db"},
      {cab + "comando blocom --estab \"1\n----\n", "c.cenario:3: ", "aspas"},
      {cab + "comando\n----\n", "c.cenario:3: ", "sem subcomando"},
      {cab + "erro blocom\n----\n", "c.cenario:5: ", "mensagem esperada"},
      {cab + "SELECT 1;\n", "c.cenario:3: ", "fora de um bloco"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.Texto);
    try {
      LerCenario("c.cenario", c.Texto);
      ADD_FAILURE() << "devia recusar";
    } catch (const ECenarioInvalido& e) {
      const std::string m = e.what();
      EXPECT_EQ(m.rfind(c.Inicio, 0), 0u) << m;
      EXPECT_NE(m.find(c.Trecho), std::string::npos) << m;
    }
  }
}

}  // namespace
