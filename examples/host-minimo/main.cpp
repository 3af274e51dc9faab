// host-minimo: o menor programa que usa a libpisco instalada. Abre o banco, roda o Bloco M
// de uma empresa e competência pela fábrica e imprime os totais do M200 (PIS) e do M600 (COFINS).
#include <cstdio>
#include <exception>
#include <memory>
#include <string>

#include <pisco/base/DateTime.h>
#include <pisco/base/Nutil.h>
#include <pisco/base/Versao.h>
#include <pisco/blocom/control/nFisRepositorioEFDBlocoMFabrica_U.h>
#include <pisco/blocom/control/nFisRepositorioEFDBlocoM_U.h>
#include <pisco/host/Database.h>
#include <pisco/host/Host.h>

namespace {

// Valor como no arquivo: arredondado a duas casas, vírgula decimal.
std::string Valor(double AValor) {
  const double valor = Nutil::RoundValor(AValor, 2);
  char texto[64];
  std::snprintf(texto, sizeof texto, "%.2f", valor == 0 ? 0.0 : valor);  // nunca "-0,00"
  std::string s = texto;
  for (char& c : s)
    if (c == '.') c = ',';
  return s;
}

void Linha(const char* ARegistro, const char* ACampo, double AValor, const char* ADescricao) {
  std::printf("%s  %-20s %15s  %s\n", ARegistro, ACampo, Valor(AValor).c_str(), ADescricao);
}

// Campos do M200/M600 na ordem do leiaute; os Get... são os valores calculados.
void ImprimirConsolidacao(const char* R, const TM200_600ConsolidContribImposto& m) {
  Linha(R, "VL_TOT_CONT_NC_PER", m.GetVL_TOT_CONT_NC_PER(), "contribuição não cumulativa do período");
  Linha(R, "VL_TOT_CRED_DESC", m.GetVL_TOT_CRED_DESC(), "crédito descontado, apurado no período");
  Linha(R, "VL_TOT_CRED_DESC_ANT", m.FVL_TOT_CRED_DESC_ANT, "crédito descontado, de períodos anteriores");
  Linha(R, "VL_TOT_CONT_NC_DEV", m.GetVL_TOT_CONT_NC_DEV(), "contribuição não cumulativa devida");
  Linha(R, "VL_RET_NC", m.FVL_RET_NC, "retenções deduzidas (não cumulativa)");
  Linha(R, "VL_OUT_DED_NC", m.FVL_OUT_DED_NC, "outras deduções (não cumulativa)");
  Linha(R, "VL_CONT_NC_REC", m.GetVL_CONT_NC_REC(), "não cumulativa a recolher");
  Linha(R, "VL_TOT_CONT_CUM_PER", m.GetVL_TOT_CONT_CUM_PER(), "contribuição cumulativa do período");
  Linha(R, "VL_RET_CUM", m.FVL_RET_CUM, "retenções deduzidas (cumulativa)");
  Linha(R, "VL_OUT_DED_CUM", m.FVL_OUT_DED_CUM, "outras deduções (cumulativa)");
  Linha(R, "VL_CONT_CUM_REC", m.GetVL_CONT_CUM_REC(), "cumulativa a recolher");
  Linha(R, "VL_TOT_CONT_REC", m.GetVL_TOT_CONT_REC(), "total a recolher no período");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "uso: host-minimo CONEXAO EMPRESA AAAA-MM\n"
                         "  CONEXAO: arquivo SQLite ou postgresql://usuario@servidor/base\n");
    return 2;
  }
  try {
    TConfigBlocoM config;
    const std::string empresa = argv[2];
    if (empresa.empty() || empresa.find_first_not_of("0123456789") != std::string::npos || empresa.size() > 9) {
      std::fprintf(stderr, "host-minimo: código de empresa inválido: \"%s\"\n", argv[2]);
      return 2;
    }
    config.CodigoEmpresa = std::stoi(empresa);
    CompetenciaParaPeriodo(argv[3], config.DataInicial, config.DataFinal);
    // Modo empresa, todos os estabelecimentos (CodigoEstab vazio): as SCP rodam antes, cada uma
    // na sua sub-execução, e entram no resultado pelo repositório.

    // O host: conexão e serviços da execução, corrente nesta thread enquanto o escopo existir.
    THost host(TDatabase::Conectar(argv[1]));
    THostScope escopo(host);

    // A fábrica escolhe o repositório pela opção da EFD da empresa; false = a partir dos totais
    // já apurados, true = a partir dos lançamentos fiscais.
    auto repositorio = TnFisRepositorioEFDBlocoMFabrica::CriarRepositorio(
        config.CodigoEmpresa, EstabComoInteiro(config.CodigoEstab), config.DataInicial, false);
    // Um M001 por tipo de apuração; o mapa é do chamador.
    std::unique_ptr<TMapaAberturaBloco> mapa = repositorio->CarregarDadosBlocoM(config);
    // A soma de todos os tipos é o bloco que vai para o arquivo.
    std::unique_ptr<TM001AberturaBloco> total = repositorio->TotalizarBlocoM();

    std::printf("pisco %s: empresa %d, competência %s, %zu tipo(s) de apuração\n", kPiscoVersao,
                config.CodigoEmpresa, FormatDateTime("mm/yyyy", config.DataInicial).c_str(), mapa->size());
    ImprimirConsolidacao("M200", *total->FM200);
    ImprimirConsolidacao("M600", *total->FM600);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "host-minimo: %s\n", e.what());
    return 1;
  }
  return 0;
}
