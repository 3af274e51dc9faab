#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "fixtures/ArvoreBlocoM.h"
#include "output/EscritorBlocoM.h"
#include "output/LayoutBlocoM.h"

namespace {

using arvore_teste::Chave;
using arvore_teste::MontarArvoreCompleta;

const std::string kGolden = std::string(PISCO_SOURCE_DIR) + "/tests/fixtures/golden/blocom_completo.txt";

std::vector<std::string> Campos(const std::string& linha) {
  // "|M100|a||b|" -> {"M100", "a", "", "b"}
  std::vector<std::string> campos;
  if (linha.size() < 2 || linha.front() != '|' || linha.back() != '|') return campos;
  std::string atual;
  for (size_t i = 1; i < linha.size(); ++i) {
    if (linha[i] == '|') {
      campos.push_back(atual);
      atual.clear();
    } else {
      atual += linha[i];
    }
  }
  return campos;
}

std::vector<std::string> LinhasCRLF(const std::string& texto) {
  std::vector<std::string> linhas;
  size_t ini = 0;
  while (ini < texto.size()) {
    const size_t fim = texto.find("\r\n", ini);
    if (fim == std::string::npos) {
      linhas.push_back(texto.substr(ini));  // sem CR LF no fim: aparece como linha a mais
      break;
    }
    linhas.push_back(texto.substr(ini, fim - ini));
    ini = fim + 2;
  }
  return linhas;
}

std::string Escrever(const TM001AberturaBloco& m001) {
  std::ostringstream saida;
  EscreverBlocoM(saida, m001);
  return saida.str();
}

TEST(EscritorBlocoM, ArvoreCompletaIgualAoArquivoDeReferencia) {
  arvore_teste::TOpcoesArvore opcoes;
  opcoes.Extras = true;
  const std::string obtido = Escrever(*MontarArvoreCompleta(opcoes));
  if (std::getenv("PISCO_ATUALIZAR_GOLDEN")) {
    std::ofstream(kGolden, std::ios::binary) << obtido;
    GTEST_SKIP() << "arquivo de referência regravado: " << kGolden;
  }
  std::ifstream arq(kGolden, std::ios::binary);
  ASSERT_TRUE(arq) << "sem o arquivo " << kGolden;
  const std::string esperado((std::istreambuf_iterator<char>(arq)), std::istreambuf_iterator<char>());
  const auto le = LinhasCRLF(esperado), lo = LinhasCRLF(obtido);
  for (size_t i = 0; i < std::max(le.size(), lo.size()); ++i) {
    const std::string e = i < le.size() ? le[i] : "(nada)";
    const std::string o = i < lo.size() ? lo[i] : "(nada)";
    if (e == o) continue;
    const auto ce = Campos(e), co = Campos(o);
    const std::string reg = co.empty() ? "?" : co[0];
    if (ce.size() != co.size() || ce.empty() || ce[0] != co[0]) {
      ADD_FAILURE() << "linha " << i + 1 << ": esperado '" << e << "', obtido '" << o << "'";
      continue;
    }
    const auto& layout = LayoutRegistro(reg).Campos;
    for (size_t k = 1; k < ce.size(); ++k)
      if (ce[k] != co[k])
        ADD_FAILURE() << "linha " << i + 1 << " (" << reg << "), campo " << k + 1 << " ("
                      << (k - 1 < layout.size() ? layout[k - 1].Campo : "?") << "): esperado '"
                      << ce[k] << "', obtido '" << co[k] << "'";
  }
  EXPECT_EQ(obtido, esperado);
}

// Todas as linhas de uma árvore com todos os registros, e de uma vazia.
std::vector<std::vector<std::string>> LinhasDeTeste() {
  arvore_teste::TOpcoesArvore opcoes;
  opcoes.Extras = true;
  std::vector<std::vector<std::string>> todas;
  for (const auto& linha : MontarLinhasBlocoM(*MontarArvoreCompleta(opcoes)))
    todas.push_back(Campos(linha));
  TM001AberturaBloco vazio;
  for (const auto& linha : MontarLinhasBlocoM(vazio)) todas.push_back(Campos(linha));
  return todas;
}

TEST(EscritorBlocoM, CadaLinhaTemOsCamposDoLeiauteComSuasCasas) {
  std::ifstream arq(std::string(PISCO_SOURCE_DIR) + "/src/output/layout-blocom.json");
  ASSERT_TRUE(arq);
  const auto json = nlohmann::json::parse(arq);
  std::set<std::string> vistos;
  for (const auto& campos : LinhasDeTeste()) {
    ASSERT_FALSE(campos.empty());
    const std::string& reg = campos[0];
    vistos.insert(reg);
    ASSERT_TRUE(json.contains(reg)) << reg;
    const auto& lay = json[reg];
    ASSERT_EQ(campos.size() - 1, lay.size()) << reg;
    for (size_t k = 1; k < campos.size(); ++k) {
      const std::string& valor = campos[k];
      const std::string nome = lay[k - 1]["campo"];
      const std::string formato = lay[k - 1]["formato"];
      const std::string tipo = lay[k - 1]["tipo"];
      if (valor.empty()) continue;
      EXPECT_EQ(valor.find_first_of("\r\n"), std::string::npos) << reg << " " << nome;
      if (!formato.empty()) {
        const int casas = std::stoi(formato.substr(formato.find('v') + 1));
        const std::regex exato("-?[0-9]+,[0-9]{" + std::to_string(casas) + "}");
        EXPECT_TRUE(std::regex_match(valor, exato)) << reg << " " << nome << " = '" << valor << "'";
      } else if (tipo == "numeric") {
        EXPECT_TRUE(std::regex_match(valor, std::regex("[0-9]+"))) << reg << " " << nome << " = '"
                                                                   << valor << "'";
      }
    }
  }
  // A árvore de teste passa por todos os registros do leiaute.
  for (const auto& [reg, campos] : json.items()) EXPECT_TRUE(vistos.count(reg)) << reg;
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

TEST(EscritorBlocoM, OrdemDosRegistros) {
  // M300 de dois M210 incluídos fora de ordem: vêm depois de todos os M210, na ordem deles.
  TM001AberturaBloco m;
  for (int seq : {2, 1}) {
    auto& d = m.FM200->FM210_610List.Add(Chave(seq), std::make_unique<TM210_610DetalheContrib>());
    d.FCOD_CONT = seq == 1 ? "01" : "51";
    d.FM300_700List.Add(Chave(seq), std::make_unique<TM300_700DiferidoPerAnt>()).FCOD_CONT = d.FCOD_CONT;
    d.FM230_630List.Add(Chave(1), std::make_unique<TM230_630InfAdicDiferido>());
  }
  m.FM100List.Add(Chave(1), std::make_unique<TM100_500CreditoImposto>());
  m.FM800List.Add(Chave(1), std::make_unique<TM400_800ReceitaIsenta>());
  m.FM350 = std::make_unique<TM350FolhaSalarioPIS>();
  std::vector<std::string> regs;
  std::vector<std::string> codigos;
  for (const auto& l : RegistrosBlocoM(m)) {
    regs.push_back(l.Registro);
    if (l.Registro == "M210" || l.Registro == "M300") codigos.push_back(l.Registro + ":" + l.Campos[0].Texto);
  }
  EXPECT_EQ(regs, (std::vector<std::string>{"M001", "M100", "M200", "M210", "M230", "M210", "M230",
                                            "M300", "M300", "M350", "M600", "M800", "M990"}));
  EXPECT_EQ(codigos, (std::vector<std::string>{"M210:01", "M210:51", "M300:01", "M300:51"}));
}

TEST(EscritorBlocoM, QuantidadeOuAliquota) {
  // Campos (numerados como no leiaute: REG é o 01) que ficam vazios num registro por
  // alíquota e num por quantidade.
  struct Caso {
    const char* nome;
    double aliqQuant;
    std::string reg;
    std::vector<size_t> vazios;
  };
  const std::vector<Caso> casos = {
      {"M100 por alíquota", 0, "M100", {6, 7}},
      {"M100 por quantidade", 0.8, "M100", {4, 5}},
      {"M105 por alíquota", 0, "M105", {8, 9}},
      {"M105 por quantidade", 0.8, "M105", {4, 5, 6, 7}},
      {"M210 por alíquota", 0, "M210", {9, 10}},
      {"M210 por quantidade", 0.8, "M210", {8}},
  };
  for (const auto& c : casos) {
    TM001AberturaBloco m;
    auto& cred = m.FM100List.Add(Chave(1), std::make_unique<TM100_500CreditoImposto>());
    cred.FCOD_CRED = "101";
    cred.FALIQ = 1.65;
    cred.FALIQ_QUANT = c.aliqQuant;
    auto& b = cred.FM105_505List.Add(Chave(1), std::make_unique<TM105_505DetalheBCCredito>());
    b.FNAT_BC_CRED = "01";
    b.FDESC_CRED = "x";
    b.FCST = 50;
    b.FVL_BC_TOT = 100;
    b.FQUANT_BC = 10;
    b.FQUANT_BC_TOT = 10;
    auto& d = m.FM200->FM210_610List.Add(Chave(1), std::make_unique<TM210_610DetalheContrib>());
    d.FCOD_CONT = "01";
    d.FALIQ = 1.65;
    d.FALIQ_QUANT = c.aliqQuant;
    d.FQUANT_BC = 10;
    for (const auto& linha : MontarLinhasBlocoM(m)) {
      const auto campos = Campos(linha);
      if (campos[0] != c.reg) continue;
      for (size_t k = 1; k < campos.size(); ++k) {
        const bool deveSerVazio = std::find(c.vazios.begin(), c.vazios.end(), k + 1) != c.vazios.end();
        EXPECT_EQ(campos[k].empty(), deveSerVazio)
            << c.nome << " campo " << k + 1 << " '" << campos[k] << "'";
      }
    }
  }
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
