#include "output/ExecucaoBlocoM.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/Erros.h"
#include "blocom/control/nFisRepositorioEFDBlocoM_U.h"
#include "output/BlocoMJson.h"
#include "output/EscritorBlocoM.h"

void GravarArquivoSaida(const std::string& AArquivo, const std::string& AConteudo) {
  // Grava num nome temporário e renomeia: quem lê o arquivo nunca o vê pela metade.
  const std::filesystem::path destino(AArquivo);
  const std::filesystem::path temp = destino.string() + ".tmp-pisco";
  {
    std::ofstream f(temp, std::ios::binary | std::ios::trunc);
    if (!f) throw EEntradaInvalida("Não foi possível criar o arquivo de saída: " + AArquivo);
    f << AConteudo;
    f.close();
    if (!f) {
      std::filesystem::remove(temp);
      throw EPisco("Falha ao gravar o arquivo de saída: " + AArquivo);
    }
  }
  std::error_code ec;
  std::filesystem::rename(temp, destino, ec);
  if (ec) {
    std::filesystem::remove(temp);
    throw EPisco("Falha ao gravar o arquivo de saída " + AArquivo + ": " + ec.message());
  }
}

void ExecutarBlocoM(const TConfigBlocoM& AConfig, const TSaidaBlocoM& ASaida, std::ostream& AOut) {
  auto repositorio = TnFisRepositorioEFDBlocoMFabrica::CriarRepositorio(
      AConfig.CodigoEmpresa, EstabComoInteiro(AConfig.CodigoEstab), AConfig.DataInicial, ASaida.Lancamentos);
  auto mapa = repositorio->CarregarDadosBlocoM(AConfig);

  // O texto inteiro fica em memória: só depois de tudo calculado algo sai do processo.
  std::ostringstream texto;
  if (ASaida.Formato == "json") {
    std::vector<TResultadoSCPSaida> scp;
    for (const auto& s : repositorio->GetListaApuracaoSCP()) scp.push_back({s->CNPJ, s->EFD.get()});
    texto << BlocoMParaJson(*mapa, &scp).dump(2) << "\n";
  } else {
    EscreverBlocoM(texto, *repositorio->TotalizarBlocoM());
  }
  if (ASaida.Arquivo.empty()) {
    AOut << texto.str() << std::flush;
    return;
  }
  GravarArquivoSaida(ASaida.Arquivo, texto.str());
}
