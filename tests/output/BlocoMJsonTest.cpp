#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "fixtures/ArvoreBlocoM.h"
#include "output/BlocoMJson.h"
#include "output/EscritorBlocoM.h"
#include "output/LayoutBlocoM.h"

namespace {

using arvore_teste::MontarArvoreCompleta;
using nlohmann::ordered_json;

bool EhRegistro(const std::string& chave) { return std::regex_match(chave, std::regex("M[0-9]{3}")); }

// Linha de texto montada a partir de um objeto JSON de registro (números com as casas do
// campo), e as de todos os filhos, na ordem em que aparecem.
void LinhasDoJson(const ordered_json& obj, std::vector<std::string>& linhas) {
  if (obj.is_array()) {
    for (const auto& item : obj) LinhasDoJson(item, linhas);
    return;
  }
  if (!obj.is_object() || !obj.contains("REG")) return;
  const std::string reg = obj["REG"];
  const auto& layout = LayoutRegistro(reg).Campos;
  std::string linha = "|" + reg + "|";
  std::vector<std::string> campos;
  for (const auto& [chave, valor] : obj.items()) {
    if (chave == "REG" || EhRegistro(chave)) continue;
    campos.push_back(chave);
    const auto& lay = layout.at(campos.size() - 1);
    EXPECT_EQ(chave, lay.Campo) << reg;
    std::string texto;
    if (valor.is_string()) {
      texto = valor.get<std::string>();  // o JSON guarda o texto original; o arquivo troca "|"
      std::replace(texto.begin(), texto.end(), '|', ' ');
    } else if (valor.is_number_integer()) {
      texto = std::to_string(valor.get<int64_t>());
    } else if (valor.is_number_float()) {
      EXPECT_GE(lay.Casas, 0) << reg << " " << chave;
      texto = fmt::format("{:.{}f}", valor.get<double>(), std::max(lay.Casas, 0));
      std::replace(texto.begin(), texto.end(), '.', ',');
    } else {
      EXPECT_TRUE(valor.is_null()) << reg << " " << chave;
    }
    linha += texto + "|";
  }
  EXPECT_EQ(campos.size(), layout.size()) << reg;
  linhas.push_back(linha);
  for (const auto& [chave, valor] : obj.items())
    if (EhRegistro(chave) && !valor.is_null()) LinhasDoJson(valor, linhas);
}

TEST(BlocoMJson, MesmosRegistrosEValoresDoTexto) {
  arvore_teste::TOpcoesArvore opcoes;
  opcoes.Extras = true;
  const auto m001 = MontarArvoreCompleta(opcoes);
  std::vector<std::string> doJson;
  LinhasDoJson(RegistroM001ParaJson(*m001), doJson);
  auto doTexto = MontarLinhasBlocoM(*m001);
  ASSERT_EQ(doTexto.back().substr(0, 6), "|M990|");
  doTexto.pop_back();  // o JSON não tem o encerramento
  // O M300 fica dentro do seu M210 no JSON e no nível 2 no texto: compara sem a ordem.
  std::sort(doJson.begin(), doJson.end());
  std::sort(doTexto.begin(), doTexto.end());
  EXPECT_EQ(doJson, doTexto);
}

TEST(BlocoMJson, ApuracoesESCP) {
  TMapaAberturaBloco mapa;
  mapa[TTipoApuracao::ta62] = std::make_unique<TM001AberturaBloco>();
  mapa[TTipoApuracao::taNormal] = MontarArvoreCompleta();
  TMapaAberturaBloco daSCP;
  daSCP[TTipoApuracao::taEFD] = MontarArvoreCompleta({2.0, false, false, false, false});

  // Os registros e valores já são conferidos contra o texto (acima); aqui, a ordem das
  // apurações, o aninhamento que o texto não mostra e as SCP.
  const auto semSCP = BlocoMParaJson(mapa);
  EXPECT_FALSE(semSCP.contains("scp"));
  ASSERT_EQ(semSCP["apuracoes"].size(), 2u);
  EXPECT_EQ(semSCP["apuracoes"][0]["TIPO_APURACAO"], 0);
  EXPECT_EQ(semSCP["apuracoes"][1]["TIPO_APURACAO"], 62);
  EXPECT_EQ(semSCP["apuracoes"][1]["M001"]["IND_MOV"], "0");  // o M200 e o M600 saem mesmo zerados
  EXPECT_TRUE(semSCP["apuracoes"][1]["M001"]["M350"].is_null());
  const auto& m001 = semSCP["apuracoes"][0]["M001"];
  EXPECT_EQ(m001["M200"]["M210"][0]["M300"][0]["PER_APUR"], "122023");
  EXPECT_EQ(m001["M200"]["M210"][1]["M300"][0]["PER_APUR"], "112023");
  EXPECT_EQ(m001["M600"]["M610"][0]["M611"]["IND_TIP_COOP"], "01");
  EXPECT_TRUE(m001["M600"]["M610"][1]["M611"].is_null());

  const std::vector<TResultadoSCPSaida> scps = {{"12345678000190", &daSCP}, {"98765432000110", nullptr}};
  const auto comSCP = BlocoMParaJson(mapa, &scps);
  ASSERT_EQ(comSCP["scp"].size(), 2u);
  EXPECT_EQ(comSCP["scp"][0]["CNPJ"], "12345678000190");
  ASSERT_EQ(comSCP["scp"][0]["apuracoes"].size(), 1u);
  EXPECT_EQ(comSCP["scp"][0]["apuracoes"][0]["TIPO_APURACAO"], 99);
  EXPECT_DOUBLE_EQ(comSCP["scp"][0]["apuracoes"][0]["M001"]["M100"][0]["VL_CRED"].get<double>(), 160);
  EXPECT_TRUE(comSCP["scp"][1]["apuracoes"].empty());
  EXPECT_EQ(comSCP["apuracoes"], semSCP["apuracoes"]);
}

TEST(BlocoMJson, NumerosArredondadosAsCasasDoCampo) {
  TM001AberturaBloco m;
  auto& c = m.FM100List.Add("00001", std::make_unique<TM100_500CreditoImposto>());
  c.FCOD_CRED = "109";
  c.FALIQ = 1.123456;
  c.FVL_CRED = 2.675;
  c.FVL_CRED_DESC = 0.1 + 0.2;
  const auto j = RegistroM001ParaJson(m);
  const auto& r = j["M100"][0];
  EXPECT_EQ(r["ALIQ_PIS"].dump(), "1.1235");
  EXPECT_EQ(r["VL_CRED"].dump(), "2.68");
  EXPECT_EQ(r["VL_CRED_DESC"].dump(), "0.3");
  EXPECT_EQ(r["IND_CRED_ORI"].dump(), "0");
}

}  // namespace
