#include "output/ConferenciaBlocoM.h"

#include <map>

#include "output/EscritorBlocoM.h"

namespace {

// Pai de cada registro e os campos (índices depois de REG) que o identificam entre os irmãos.
struct TIdentidade {
  const char* Pai;
  std::vector<int> Campos;
};

const TIdentidade* Identidade(const std::string& ARegistro) {
  static const std::map<std::string, TIdentidade> kIdentidades = [] {
    std::map<std::string, TIdentidade> m;
    auto par = [&m](const char* pis, const char* cofins, const char* paiPis, const char* paiCofins,
                    std::vector<int> campos) {
      m[pis] = {paiPis, campos};
      m[cofins] = {paiCofins, campos};
    };
    par("M100", "M500", "", "", {0, 1, 3, 5});
    par("M105", "M505", "M100", "M500", {0, 1});
    par("M110", "M510", "M100", "M500", {0, 2, 3, 4, 5});
    par("M115", "M515", "M110", "M510", {1, 4, 5});
    par("M200", "M600", "", "", {});
    par("M205", "M605", "M200", "M600", {0, 1});
    par("M210", "M610", "M200", "M600", {0, 6, 8});
    par("M211", "M611", "M210", "M610", {});
    par("M215", "M615", "M210", "M610", {0, 2, 3, 5});
    par("M220", "M620", "M210", "M610", {0, 2, 3, 4, 5});
    par("M225", "M625", "M220", "M620", {1, 4, 5});
    par("M230", "M630", "M210", "M610", {0, 5});
    par("M300", "M700", "M200", "M600", {0, 2, 5, 6});
    par("M400", "M800", "", "", {0});
    par("M410", "M810", "M400", "M800", {0});
    m["M350"] = {"", {}};
    return m;
  }();
  auto it = kIdentidades.find(ARegistro);
  return it == kIdentidades.end() ? nullptr : &it->second;
}

struct TRegistroPlano {
  std::string Registro;
  std::vector<std::string> Valores;  // textos do arquivo
};

// Registros por caminho, na ordem de escrita; caminhos repetidos recebem "#n".
std::vector<std::pair<std::string, TRegistroPlano>> Achatar(const TM001AberturaBloco& AM001) {
  std::vector<std::pair<std::string, TRegistroPlano>> r;
  std::map<std::string, std::string> ultimoCaminho;  // registro -> caminho do último visto
  std::map<std::string, int> repetidos;
  for (const auto& linha : RegistrosBlocoM(AM001)) {
    const TIdentidade* id = Identidade(linha.Registro);
    if (!id) continue;  // M001, M990
    const auto& layout = LayoutRegistro(linha.Registro);
    TRegistroPlano plano{linha.Registro, {}};
    for (size_t i = 0; i < linha.Campos.size(); ++i) plano.Valores.push_back(FormatarCampo(linha.Campos[i], layout.Campos[i]));
    std::string chave;
    for (size_t i = 0; i < id->Campos.size(); ++i)
      chave += (i ? "|" : "") + plano.Valores[static_cast<size_t>(id->Campos[i])];
    std::string caminho = *id->Pai ? ultimoCaminho[id->Pai] + "/" : std::string();
    caminho += linha.Registro + (id->Campos.empty() ? "" : "[" + chave + "]");
    if (int n = ++repetidos[caminho]; n > 1) caminho += "#" + std::to_string(n);
    ultimoCaminho[linha.Registro] = caminho;
    r.emplace_back(caminho, std::move(plano));
  }
  return r;
}

}  // namespace

std::vector<TDiferencaBlocoM> CompararBlocoM(const TM001AberturaBloco& APrimeiro, const TM001AberturaBloco& ASegundo) {
  const auto a = Achatar(APrimeiro);
  const auto b = Achatar(ASegundo);
  std::map<std::string, const TRegistroPlano*> porCaminhoB;
  for (const auto& [caminho, reg] : b) porCaminhoB[caminho] = &reg;
  std::map<std::string, bool> vistosB;
  std::vector<TDiferencaBlocoM> difs;
  for (const auto& [caminho, reg] : a) {
    auto it = porCaminhoB.find(caminho);
    if (it == porCaminhoB.end()) {
      difs.push_back({TTipoDiferenca::tdSoNoPrimeiro, reg.Registro, caminho, "", "", ""});
      continue;
    }
    vistosB[caminho] = true;
    const auto& layout = LayoutRegistro(reg.Registro);
    for (size_t i = 0; i < reg.Valores.size(); ++i)
      if (reg.Valores[i] != it->second->Valores[i])
        difs.push_back({TTipoDiferenca::tdCampo, reg.Registro, caminho, layout.Campos[i].Campo, reg.Valores[i],
                        it->second->Valores[i]});
  }
  for (const auto& [caminho, reg] : b)
    if (!vistosB.count(caminho)) difs.push_back({TTipoDiferenca::tdSoNoSegundo, reg.Registro, caminho, "", "", ""});
  return difs;
}

std::string DiferencasParaTexto(const std::vector<TDiferencaBlocoM>& ADiferencas, const std::string& ANome1,
                                const std::string& ANome2) {
  std::string r;
  for (const auto& d : ADiferencas) {
    switch (d.Tipo) {
      case TTipoDiferenca::tdSoNoPrimeiro: r += d.Caminho + ": só no " + ANome1 + "\n"; break;
      case TTipoDiferenca::tdSoNoSegundo: r += d.Caminho + ": só no " + ANome2 + "\n"; break;
      case TTipoDiferenca::tdCampo:
        r += d.Caminho + " " + d.Campo + ": " + ANome1 + " " + (d.Valor1.empty() ? "(vazio)" : d.Valor1) + ", " +
             ANome2 + " " + (d.Valor2.empty() ? "(vazio)" : d.Valor2) + "\n";
        break;
    }
  }
  return r;
}

nlohmann::ordered_json DiferencasParaJson(const std::vector<TDiferencaBlocoM>& ADiferencas, const std::string& ANome1,
                                          const std::string& ANome2) {
  auto lista = nlohmann::ordered_json::array();
  for (const auto& d : ADiferencas) {
    nlohmann::ordered_json j;
    j["registro"] = d.Registro;
    j["caminho"] = d.Caminho;
    if (d.Tipo == TTipoDiferenca::tdCampo) {
      j["campo"] = d.Campo;
      j[ANome1] = d.Valor1;
      j[ANome2] = d.Valor2;
    } else {
      j["so_em"] = d.Tipo == TTipoDiferenca::tdSoNoPrimeiro ? ANome1 : ANome2;
    }
    lista.push_back(std::move(j));
  }
  return lista;
}
